#pragma once
// A document template: the resource id under which the language table keeps its document string
// and the class of the documents it makes. The document string has the fields "window title",
// "document-type name", "new file name", "filter name", "filter extension", "file type id" and
// "file type name", separated by "\n"; the openers of element windows find a template by its
// document-type name. A template whose windows are not built yet opens nothing.
#include <cstdint>
#include <functional>
#include <string>

class CMElement;

class CZuMultiDocTemplate
{
public:
    enum DocStringIndex
    {
        windowTitle = 0,
        docName = 1,
        fileNewName = 2,
        filterName = 3,
        filterExt = 4,
        regFileTypeId = 5,
        regFileTypeName = 6,
    };

    CZuMultiDocTemplate(uint32_t resourceId, std::string documentClass);

    uint32_t GetResourceId() const { return m_resourceId; }
    const std::string& GetDocumentClass() const { return m_documentClass; }
    // A field of the document string of the current language; empty when it is missing.
    std::string GetDocString(int index) const;

    // Opens a window over an element; set by the subsystem that owns the template's windows.
    using Opener = std::function<bool(CMElement* element)>;
    void SetOpener(Opener opener) { m_opener = std::move(opener); }
    bool CanOpen() const { return static_cast<bool>(m_opener); }
    // False (nothing opened) while the template has no opener.
    bool Open(CMElement* element) const { return m_opener ? m_opener(element) : false; }
    // Tells whether a window of the template shows an element already; set with the opener. Without
    // it no window counts as open.
    using WindowFinder = std::function<bool(CMElement* element)>;
    void SetWindowFinder(WindowFinder finder) { m_finder = std::move(finder); }
    bool HasWindowFor(CMElement* element) const { return element && m_finder && m_finder(element); }

    // Field index of a "\n"-separated document string; empty when absent.
    static std::string ExtractField(const std::string& docString, int index);

private:
    uint32_t m_resourceId;
    std::string m_documentClass;
    Opener m_opener;
    WindowFinder m_finder;
};
