// The one application object of the program.
#include "app/VelmoraApp.h"

CVelmoraApp theApp;
