#include "legacy/LegacyApp.h"

CLegacyApp theApp;

BOOL CLegacyApp::InitInstance()
{
    return CLibraryApp::InitInstance();
}
