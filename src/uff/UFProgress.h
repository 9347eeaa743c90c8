#pragma once
// Progress of the long universal-file work (splitting, indexing), reported through this small
// interface so the readers never call the user interface themselves.
#include <cstdint>
#include <string>

class IUFProgress
{
public:
    virtual ~IUFProgress() = default;
    virtual void Begin(const std::string& text, uint64_t total) = 0;
    virtual void Step(uint64_t done) = 0;
    virtual void End() = 0;
};

// Progress on the main window's status bar, in thousandths of the total.
class CUFMainWindowProgress : public IUFProgress
{
public:
    void Begin(const std::string& text, uint64_t total) override;
    void Step(uint64_t done) override;
    void End() override;

private:
    uint64_t m_total = 0;
    uint64_t m_shown = 0;
};
