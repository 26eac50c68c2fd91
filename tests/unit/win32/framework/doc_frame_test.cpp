// The single-document template: dynamic creation of document, frame and
// view; the start-up show command; the main window's end posting the quit;
// a failed frame cleaning up after itself.
#include "framework_test_app.h"
#include <gtest/gtest.h>

TEST(DocFrame, TemplateCreatesDocumentFrameAndViewFromTheirRuntimeClasses)
{
    int docs = g_nDocsDestroyed, frames = g_nFramesDestroyed, views = g_nViewsDestroyed;
    CTestFrame* pFrame = OpenTestFrame();
    ASSERT_NE(pFrame, nullptr);
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CTestFrame)));
    EXPECT_EQ(AfxGetMainWnd(), pFrame);
    CView* pView = pFrame->GetActiveView();
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CTestView)));
    EXPECT_EQ(::GetParent(pView->m_hWnd), pFrame->m_hWnd);
    CDocument* pDoc = pView->GetDocument();
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CTestDoc)));
    EXPECT_EQ(pFrame->GetActiveDocument(), pDoc);
    // The caption adds the document name to the title of the template string.
    char caption[64] = "";
    pFrame->GetWindowText(caption, 64);
    EXPECT_STREQ(caption, "TestDoc - Test Frame");
    std::string field;
    theTestApp.m_templateList.front()->GetDocString(field, CDocTemplate::regFileTypeId);
    EXPECT_EQ(field, "Test.Document");
    EXPECT_TRUE(::GetMenu(pFrame->m_hWnd) != nullptr);
    EXPECT_TRUE(pFrame->m_hAccelTable != nullptr);
    EXPECT_GT(static_cast<CTestView*>(pView)->m_nDraws, 0);   // painted through OnDraw

    // Destroying the main window ends the loop and takes view, document
    // and frame with it.
    pFrame->DestroyWindow();
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_TRUE(PumpMessages());   // the quit message
    EXPECT_EQ(g_nViewsDestroyed, views + 1);
    EXPECT_EQ(g_nDocsDestroyed, docs + 1);
    EXPECT_EQ(g_nFramesDestroyed, frames + 1);
}

TEST(DocFrame, StartUpShowCommandAppliesToTheMainFrameOnce)
{
    StartFramework();
    theTestApp.m_nCmdShow = SW_SHOWMINIMIZED;
    CDocument* pDoc = theTestApp.m_templateList.front()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    auto* pFrame = static_cast<CFrameWnd*>(AfxGetMainWnd());
    EXPECT_TRUE(::IsIconic(pFrame->m_hWnd));
    EXPECT_EQ(theTestApp.m_nCmdShow, -1);
    pFrame->ActivateFrame(SW_SHOWNORMAL);   // later activations are the caller's
    EXPECT_FALSE(::IsIconic(pFrame->m_hWnd));
    CloseTestFrame();
}

TEST(DocFrame, FailedFrameCreationDeletesEverythingAndPostsTheQuit)
{
    StartFramework();
    PumpMessages();
    int docs = g_nDocsDestroyed, frames = g_nFramesDestroyed;
    g_bFailFrameCreate = TRUE;
    CDocument* pDoc = theTestApp.m_templateList.front()->OpenDocumentFile(nullptr);
    g_bFailFrameCreate = FALSE;
    EXPECT_EQ(pDoc, nullptr);
    EXPECT_EQ(g_nDocsDestroyed, docs + 1);
    EXPECT_EQ(g_nFramesDestroyed, frames + 1);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_TRUE(PumpMessages());
    // The template is ready for the next document.
    CTestFrame* pFrame = OpenTestFrame();
    EXPECT_NE(pFrame, nullptr);
    CloseTestFrame();
}
