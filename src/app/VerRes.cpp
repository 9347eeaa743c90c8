#include "app/VerRes.h"

#include "platform/base/Format.h"

#include <cstdio>

#ifndef ORVEX_VERSION_TEXT
#define ORVEX_VERSION_TEXT ""
#endif
#ifndef ORVEX_BUILD_NUMBER
#define ORVEX_BUILD_NUMBER 0
#endif

namespace {
const char* const kFileDescription = "ORVEX";
const char* const kLegalCopyright = "Copyright (C) Velmora. All rights reserved.";
} // namespace

bool CVerRes::Read()
{
    // The build compiles in "major.minor.release" and, when it has one, a build number (a fourth
    // part of the version text wins over the separate number).
    int parts[4] = {0, 0, 0, ORVEX_BUILD_NUMBER};
    const int n = std::sscanf(ORVEX_VERSION_TEXT, "%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]);
    if (n < 1) {
        m_read = false;
        return false;
    }
    Set(parts[0], parts[1], parts[2], parts[3], kFileDescription, kLegalCopyright);
    return true;
}

void CVerRes::Set(int major, int minor, int release, int build, std::string description, std::string copyright)
{
    m_parts[0] = major;
    m_parts[1] = minor;
    m_parts[2] = release;
    m_parts[3] = build;
    m_description = std::move(description);
    m_copyright = std::move(copyright);
    m_read = true;
}

std::string CVerRes::GetFileDescription() const
{
    return m_read ? m_description : std::string();
}

std::string CVerRes::GetLegalCopyright() const
{
    return m_read ? m_copyright : std::string();
}

std::string CVerRes::GetBuildVersionText() const
{
    if (!m_read)
        return std::string();
    return Format("%d%d%dB%d", m_parts[0], m_parts[1], m_parts[2], m_parts[3]);
}

std::string CVerRes::GetVersionText() const
{
    if (!m_read)
        return std::string();
    return Format("%d.%d.%d build(%d)", m_parts[0], m_parts[1], m_parts[2], m_parts[3]);
}

std::string CVerRes::GetProductVersionText() const
{
    if (!m_read)
        return std::string();
    return Format("%d.%d.%d", m_parts[0], m_parts[1], m_parts[2]);
}

std::string GetAppVersionText()
{
    CVerRes ver;
    ver.Read();
    return Format("%s %s", ver.GetFileDescription().c_str(), ver.GetBuildVersionText().c_str());
}

std::string GetCaptionVersionText()
{
    CVerRes ver;
    if (!ver.Read())
        return std::string();
    std::string text = ver.GetProductVersionText();
    if (text.size() < 2)
        return std::string();
    text.resize(text.size() - 2);
    return text;
}
