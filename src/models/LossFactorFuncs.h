#pragma once
// The loss-factor and power functions of the model-element library that the model data hold.
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuDlfFunc.h"
#include "platform/elements/ZuPowerFunc.h"
