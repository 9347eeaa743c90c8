#pragma once
// The objects of the project that automation clients reach: each program object is exposed once,
// through the wrapper of its class, and answers by its dispatch table. Look-ups that find nothing
// give "nothing" ("/"); errors are the three kinds of the object model.
#include "platform/automation/AutoObject.h"
#include "platform/automation/DispatchException.h"

#include <string>

class CAnalysisProject;
class CMElement;
class CRPMOptions;
class CTALVODoc;

// A member body over the wrapper W: "self" is the wrapper, "args" the converted arguments.
#define AUTO_MEMBER(W, ...)                                                                                            \
    [](CAutoObject& object_, const CDispArgs& args) -> CAutoValue {                                                    \
        [[maybe_unused]] W& self = static_cast<W&>(object_);                                                           \
        (void)args;                                                                                                    \
        __VA_ARGS__                                                                                                    \
    }

// The path of the exposed object; "/" for null or for an element of a class that is not exposed.
std::string ExposeDocument(CTALVODoc* doc);
std::string ExposeElement(CMElement* element);
std::string ExposeRpmOptions(CRPMOptions* options, CAnalysisProject* owner);
// The path of an object that answers no members of its own (CAutoElement); "/" for null. guard:
// its owner when the object is not an element of the model itself (null: none).
std::string ExposeOpaque(const void* object, const void* guard = nullptr);

[[noreturn]] void ThrowNameNotFound(int argument);
[[noreturn]] void ThrowIndexOutOfRange(int argument);
[[noreturn]] void ThrowWrongType(int argument);
