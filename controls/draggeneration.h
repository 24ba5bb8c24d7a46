#pragma once

#include <cstdint>
#include <memory>

// The version of a drag source's rows or nodes: bumped whenever what a drag names could have moved or
// gone. A drag carries the number and a weak view of the counter, so a drop that arrives after a change,
// or after the source was destroyed, is told from a current one without any pointer into the source.
class TdragGeneration
{
public:
    TdragGeneration() = default;
    TdragGeneration(const TdragGeneration&) = delete;
    TdragGeneration& operator=(const TdragGeneration&) = delete;

    void Bump() { ++*value_; }
    std::uint64_t Value() const { return *value_; }
    std::weak_ptr<const std::uint64_t> Token() const { return value_; }

private:
    std::shared_ptr<std::uint64_t> value_ = std::make_shared<std::uint64_t>(0);
};
