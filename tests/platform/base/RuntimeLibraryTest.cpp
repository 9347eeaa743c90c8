// Libraries loaded on first use: a library or function that is missing is told by name, and what
// is there is found.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/RuntimeLibrary.h"

namespace {
// A table of the C library's functions, shaped as the program's library tables are.
#define TEST_C_FUNCTIONS(X)                                                                                            \
    X(strlen)                                                                                                          \
    X(strcmp)

struct CCFunctions
{
    TEST_C_FUNCTIONS(ORVEX_RUNTIME_FUNCTION)
    bool Resolve(CRuntimeLibrary& library) { return true TEST_C_FUNCTIONS(ORVEX_RESOLVE_RUNTIME_FUNCTION); }
};

struct CMissingFunction
{
    decltype(&::strlen) orvex_no_such_function = nullptr;
    bool Resolve(CRuntimeLibrary& library)
    {
        return ResolveFunction(library, orvex_no_such_function, "orvex_no_such_function");
    }
};
} // namespace

TEST(RuntimeLibrary, MissingLibraryOrFunctionIsToldByNameAndPresentOnesAreFound)
{
    CRuntimeLibrary missing("liborvex-no-such-library.so.1");
    EXPECT_FALSE(missing.Load());
    EXPECT_EQ(missing.Symbol("strlen"), nullptr);
    EXPECT_EQ(missing.Error().rfind("the library liborvex-no-such-library.so.1 could not be loaded (", 0), 0u)
        << missing.Error();

    CRuntimeLibrary c("libc.so.6");
    std::string error;
    const CCFunctions* functions = FunctionsOf<CCFunctions>(c, &error);
    ASSERT_NE(functions, nullptr) << error;
    EXPECT_EQ(functions->strlen("orvex"), 5u);
    EXPECT_EQ(functions->strcmp("a", "a"), 0);

    CRuntimeLibrary again("libc.so.6");
    EXPECT_EQ(FunctionsOf<CMissingFunction>(again, &error), nullptr);
    EXPECT_EQ(error, "the library libc.so.6 has no function orvex_no_such_function");
}
