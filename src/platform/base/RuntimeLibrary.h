#pragma once
// A shared library the program loads when it is first used rather than at start: every library
// linked to the executable is loaded, relocated and initialised before the first window can be
// made, whether or not the session ever writes a workbook or plays a sound.
//
// The library is named by its file name with the major version (the name its package installs it
// under). It is loaded once, from whichever thread asks first, and stays loaded for the life of
// the process.
#include <memory>
#include <mutex>
#include <string>

class CRuntimeLibrary
{
public:
    explicit CRuntimeLibrary(std::string fileName);
    CRuntimeLibrary(const CRuntimeLibrary&) = delete;
    CRuntimeLibrary& operator=(const CRuntimeLibrary&) = delete;

    // Loads the library if it is not loaded yet; false, with Error() saying why, when it cannot be.
    // Error() is a clause to follow a colon in a message ("the library ... could not be loaded").
    bool Load();
    // The address of a function or object of the loaded library; null, with Error() saying why,
    // when the library is not loaded or has no such symbol.
    void* Symbol(const char* name);
    const std::string& Error() const { return m_error; }

private:
    std::string m_fileName;
    std::once_flag m_once;
    void* m_handle = nullptr;
    std::string m_error;
};

// Resolves each function of a table of function pointers (see the tables of the libraries the
// program loads on first use): true when every one was found.
template <class F>
bool ResolveFunction(CRuntimeLibrary& library, F*& function, const char* name)
{
    function = reinterpret_cast<F*>(library.Symbol(name));
    return function != nullptr;
}

// A library's table of functions, resolved once: null, with error saying why, when the library or
// any function of the table is missing. Table has a Resolve(CRuntimeLibrary&) that resolves each
// of its functions (ORVEX_RESOLVE_RUNTIME_FUNCTION) and a member per function
// (ORVEX_RUNTIME_FUNCTION), named as the library names it.
template <class Table>
const Table* FunctionsOf(CRuntimeLibrary& library, std::string* error)
{
    static const std::unique_ptr<Table> table = [&library] {
        auto functions = std::make_unique<Table>();
        return library.Load() && functions->Resolve(library) ? std::move(functions) : nullptr;
    }();
    if (!table && error)
        *error = library.Error();
    return table.get();
}

#define ORVEX_RUNTIME_FUNCTION(name) decltype(&::name) name = nullptr;
#define ORVEX_RESOLVE_RUNTIME_FUNCTION(name) &&ResolveFunction(library, name, #name)
