#include "d3d9/program_cache.h"

namespace quorvane::d3d9 {

FixedFunctionProgram* ProgramCache::Find(const ProgramKey& key)
{
    FixedFunctionProgram* program = last_ && last_->Key() == key ? last_ : nullptr;
    if (!program) {
        auto found = programs_.find(key);
        if (found != programs_.end()) {
            program = found->second.get();
        } else {
            std::unique_ptr<FixedFunctionProgram> built = FixedFunctionProgram::Build(key);
            if (!built)
                return nullptr;
            ++compiled_;
            if (programs_.size() >= capacity)
                EvictLeastRecentlyUsed();
            program = built.get();
            programs_.emplace(key, std::move(built));
        }
    }
    program->lastUse = ++clock_;
    program->usedSinceCount = true;
    last_ = program;
    return program;
}

void ProgramCache::EvictLeastRecentlyUsed()
{
    auto oldest = programs_.begin();
    for (auto it = programs_.begin(); it != programs_.end(); ++it) {
        if (it->second->lastUse < oldest->second->lastUse)
            oldest = it;
    }
    if (oldest->second.get() == last_)
        last_ = nullptr;
    oldest->second->DeleteGLProgram();
    programs_.erase(oldest);
}

void ProgramCache::Clear()
{
    for (auto& [key, program] : programs_)
        program->DeleteGLProgram();
    programs_.clear();
    last_ = nullptr;
}

ProgramCounts ProgramCache::TakeCounts()
{
    ProgramCounts counts{UINT(programs_.size()), compiled_, 0};
    for (auto& [key, program] : programs_) {
        counts.used += program->usedSinceCount ? 1 : 0;
        program->usedSinceCount = false;
    }
    return counts;
}

}  // namespace quorvane::d3d9
