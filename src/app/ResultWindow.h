#pragma once
// A window that shows results of the project tree: the elements it takes, the document template it
// opens through and its opener. The window library that owns the window registers it with the
// application (CTALVOApp::AddResultWindow); the application makes its template and hands it the
// elements it takes when the tree asks to open one.
#include "app/ZuMultiDocTemplate.h"

#include <cstdint>
#include <functional>
#include <string>

class CMElement;

struct CResultWindow
{
    uint32_t templateId = 0;   // the resource id of the document template (IDR_TALDATA, ...)
    std::string documentClass; // the template's document class ("CTALDataDoc")
    // Whether an element opens in this window. Windows are asked in the order they were
    // registered; the first that takes the element opens it.
    std::function<bool(const CMElement& element)> takes;
    // Opens (or brings forward) the window over an element; empty: nothing opens.
    CZuMultiDocTemplate::Opener open;
    // Whether a window of the kind shows the element already.
    CZuMultiDocTemplate::WindowFinder isOpen;
};
