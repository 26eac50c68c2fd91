// Run-time class information, the exception family and CFile.
#include "failing_new.h"
#include "framework/File.h"
#include "framework/Gdi.h"
#include <gtest/gtest.h>
#include <string>

namespace {

class CAnimal : public CObject {
    DECLARE_DYNCREATE(CAnimal)
};
class CDog : public CAnimal {
    DECLARE_DYNAMIC(CDog)
};
IMPLEMENT_DYNCREATE(CAnimal, CObject)
IMPLEMENT_DYNAMIC(CDog, CAnimal)

std::string TempPath(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    f.Write(bytes.data(), UINT(bytes.size()));
}

}   // namespace

TEST(RuntimeClass, KindOfFollowsTheBaseChainAndOnlyDynCreateCreates)
{
    CDog dog;
    EXPECT_STREQ(dog.GetRuntimeClass()->m_lpszClassName, "CDog");
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CObject)));
    CAnimal animal;
    EXPECT_FALSE(animal.IsKindOf(RUNTIME_CLASS(CDog)));
    EXPECT_EQ(RUNTIME_CLASS(CDog)->CreateObject(), nullptr);
    CObject* made = RUNTIME_CLASS(CAnimal)->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_EQ(made->GetRuntimeClass()->m_wSchema, 0xFFFFu);   // not serialisable
    delete made;
}

TEST(Exceptions, ThrownByPointerAndTestedByRuntimeClass)
{
    int memory = 0, resource = 0;
    for (int i = 0; i < 2; ++i) {
        try {
            if (i == 0)
                AfxThrowMemoryException();
            AfxThrowResourceException();
        } catch (CException* e) {
            if (e->IsKindOf(RUNTIME_CLASS(CMemoryException)))
                ++memory;
            if (e->IsKindOf(RUNTIME_CLASS(CResourceException)))
                ++resource;
            e->Delete();
        }
    }
    EXPECT_EQ(memory, 1);
    EXPECT_EQ(resource, 1);
}

TEST(Exceptions, MemoryExceptionIsThrownWhenNothingCanBeAllocated)
{
    // Twice: the first throw's Delete() must leave the object for the next.
    for (int i = 0; i < 2; ++i) {
        CException* caught = nullptr;
        BOOL bOther = FALSE;
        {
            CFailingAllocations exhausted;
            try {
                AfxThrowMemoryException();
            } catch (CException* e) {
                caught = e;
            } catch (...) {
                bOther = TRUE;
            }
        }
        EXPECT_FALSE(bOther) << i;
        ASSERT_NE(caught, nullptr) << i;
        EXPECT_TRUE(caught->IsKindOf(RUNTIME_CLASS(CMemoryException)));
        caught->Delete();
        caught->Delete();   // deleted by every catcher, freed by none
        EXPECT_TRUE(caught->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    }
}

TEST(File, ReadsSeeksAndReportsLength)
{
    std::string path = TempPath("velmora-file-test.bin");
    WriteFile(path, "0123456789");
    CFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead | CFile::typeBinary));
    EXPECT_EQ(f.GetLength(), 10u);
    EXPECT_EQ(f.Seek(7, CFile::begin), 7u);
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, 8), 3u);   // short read at the end is not an error
    EXPECT_STREQ(buf, "789");
    EXPECT_EQ(f.Read(buf, 8), 0u);
    f.Close();
    DeleteFileA(path.c_str());
}

TEST(File, FailuresRaiseFileExceptions)
{
    CFileException err;
    CFile f;
    EXPECT_FALSE(f.Open(TempPath("velmora-no-such-file.bin").c_str(), CFile::modeRead, &err));
    EXPECT_EQ(err.m_cause, CFileException::fileNotFound);

    bool thrown = false;
    try {
        CFile g(TempPath("velmora-no-such-file.bin").c_str(), CFile::modeRead);
    } catch (CFileException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);

    std::string path = TempPath("velmora-seek-test.bin");
    WriteFile(path, "abc");
    CFile h(path.c_str(), CFile::modeRead);
    thrown = false;
    try {
        h.Seek(LONGLONG(h.GetLength()) - 768, CFile::begin);   // before the start
    } catch (CFileException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    h.Close();
    DeleteFileA(path.c_str());
}

TEST(Gdi, PaletteObjectOwnsAndDeletesItsHandle)
{
    struct {
        LOGPALETTE lp;
        PALETTEENTRY more[3];
    } pal = {};
    pal.lp.palVersion = 0x300;
    pal.lp.palNumEntries = 4;
    for (int i = 0; i < 4; ++i)
        (&pal.lp.palPalEntry[0])[i] = PALETTEENTRY{BYTE(i * 10), BYTE(i * 20), BYTE(i * 30), 0};
    CPalette p;
    ASSERT_TRUE(p.Attach(::CreatePalette(&pal.lp)));
    PALETTEENTRY e[4];
    EXPECT_EQ(p.GetPaletteEntries(0, 4, e), 4u);
    EXPECT_EQ(e[3].peBlue, 90);
    EXPECT_TRUE(p.DeleteObject());
    EXPECT_FALSE(p.DeleteObject());
    EXPECT_EQ(p.m_hObject, nullptr);
}
