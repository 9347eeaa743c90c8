#pragma once
// The program's version information: the file and product version (four parts: major, minor,
// release, build), the file description and the legal notice. The numbers are the ones the build
// compiles in; the about box, the update check and the identification line of exports read them
// here.
#include <cstdint>
#include <string>

class CVerRes
{
public:
    CVerRes() = default;
    virtual ~CVerRes() = default;

    // Reads the program's own version information. True when a version was compiled in.
    bool Read();
    // Sets the values directly (tests, and a module whose version is known otherwise).
    void Set(int major, int minor, int release, int build, std::string description, std::string copyright);
    bool IsRead() const { return m_read; }

    std::string GetFileDescription() const;
    std::string GetLegalCopyright() const;
    // "%d%d%dB%d" of the four parts: 2.1.0.12 gives 210B12.
    std::string GetBuildVersionText() const;
    // "%d.%d.%d build(%d)".
    std::string GetVersionText() const;
    // "%d.%d.%d" of the first three parts.
    std::string GetProductVersionText() const;

    int Part(int i) const { return (i >= 0 && i < 4) ? m_parts[i] : 0; }

private:
    bool m_read = false;
    int m_parts[4] = {0, 0, 0, 0};
    std::string m_description;
    std::string m_copyright;
};

// "%s %s" of the program's file description and build-version text: the identification line of
// text exports.
std::string GetAppVersionText();
// The product version "%d.%d.%d" without its last two characters ("2.1.0" gives "2.1"), as the
// main window's caption shows it; empty without a version.
std::string GetCaptionVersionText();
