#pragma once
// A container stand-in for the shared utilities' tests: fixed answers that a test sets.
#include "common/ProjectLookups.h"

#include <functional>
#include <string>

struct CFakeProjectLookups : IProjectLookups
{
    int channels = 16;
    std::string documentPath;
    std::function<const CModelSubsystem*(const std::string&)> findSubsystem;
    std::function<std::string(const std::string&)> displayName;
    std::function<float(const std::string&)> sensitivity;
    std::function<int(const std::string&, const std::string&)> addToAssignment;

    int GetSystemChannelCount() const override { return channels; }
    void SetSystemChannelCount(int count) override { channels = count; }
    const CModelSubsystem* FindModelSubsystem(const std::string& name) const override
    {
        return findSubsystem ? findSubsystem(name) : nullptr;
    }
    std::string GetSubsystemDisplayName(const std::string& name) const override
    {
        return displayName ? displayName(name) : name;
    }
    float GetSensorSensitivity(const std::string& id) const override { return sensitivity ? sensitivity(id) : 0.0f; }
    int AddToSensorAssignment(const std::string& row, const std::string& item) override
    {
        return addToAssignment ? addToAssignment(row, item) : -1;
    }
    std::string GetDocumentPath() const override { return documentPath; }
};
