// The Legacy library's application object: it only gives the library its module, its name
// ("Legacy", the caption of its message boxes) and its string resources.
#pragma once

#include "framework/LibraryApp.h"

class CLegacyApp : public CLibraryApp {
public:
    BOOL InitInstance() override;
};

extern CLegacyApp theApp;
