// Commands that exist only in the test build of the program: each throws a
// framework exception from a command handler, so that end-to-end tests can
// drive the fatal-error path. Post WM_COMMAND with one of these ids to the
// main frame.
#pragma once

#define ID_TEST_THROW_MEMORY   33000   // a memory exception: string 4
#define ID_TEST_THROW_RESOURCE 33001   // a resource exception: string 5
