#include "common/ElementCopy.h"

#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"

#include <filesystem>
#include <string>
#include <system_error>

#include <stdlib.h>
#include <unistd.h>

namespace {
// Removes the temporary file however the copy ends.
struct TempFile
{
    std::string path;
    ~TempFile()
    {
        if (!path.empty()) {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    }
};
} // namespace

std::unique_ptr<CMElement> CopyElementViaTempFile(const CMElement* element)
{
    if (!element)
        return nullptr;
    TempFile temp;
    {
        std::error_code ec;
        const std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
        if (ec)
            return nullptr;
        std::string pattern = (dir / "talXXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            return nullptr;
        ::close(fd);
        temp.path = pattern;
    }
    try {
        {
            CArchive out(temp.path, CArchive::store);
            out.WriteObject(element);
            out.Close();
        }
        CArchive in(temp.path, CArchive::load);
        std::unique_ptr<CObject> obj(in.ReadObject(CMElement::ThisClass()));
        in.Close();
        if (!obj)
            return nullptr;
        return std::unique_ptr<CMElement>(static_cast<CMElement*>(obj.release()));
    } catch (const std::exception&) {
        return nullptr;
    }
}
