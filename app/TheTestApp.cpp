// The application object of the program's test build: the product's
// application with two commands that throw, for the end-to-end tests of the
// fatal-error path. Never part of the product.
#include "app/TestCommands.h"
#include "app/VelmoraApp.h"

namespace {

class CVelmoraTestApp : public CVelmoraApp {
public:
    void OnTestThrowMemory() { AfxThrowMemoryException(); }
    void OnTestThrowResource() { AfxThrowResourceException(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CVelmoraTestApp, CVelmoraApp)
    ON_COMMAND(ID_TEST_THROW_MEMORY, OnTestThrowMemory)
    ON_COMMAND(ID_TEST_THROW_RESOURCE, OnTestThrowResource)
END_MESSAGE_MAP()

}   // namespace

CVelmoraTestApp theApp;
