#pragma once
// Automation values on the bus and back (see AutoServer.h for the type mapping).
#include "platform/automation/AutoValue.h"

#include <QList>
#include <QVariant>

#include <vector>

// A value received from the bus; false in ok when its type has no automation counterpart.
CAutoValue FromBusValue(const QVariant& value, bool* ok = nullptr);
// The value to send; Variant results travel wrapped ("v").
QVariant ToBusValue(const CAutoValue& value, bool wrapInVariant = false);
// An "av" argument list and back.
QVariant ToBusVariantList(const std::vector<CAutoValue>& values);
bool FromBusVariantList(const QVariant& value, std::vector<CAutoValue>& out);
// Registers the bus types used here (idempotent).
void RegisterBusValueTypes();
