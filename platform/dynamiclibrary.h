#pragma once

#include <cstdint>
#include <string>

// A shared library loaded at run time (dlopen with RTLD_NOW | RTLD_LOCAL); unloaded when destroyed.
// Loading the same file twice in one process yields the same module, counted by the system loader.
class TDynamicLibrary
{
public:
    TDynamicLibrary() = default;
    ~TDynamicLibrary();
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;
    TDynamicLibrary(TDynamicLibrary&& other) noexcept;
    TDynamicLibrary& operator=(TDynamicLibrary&& other) noexcept;

    // False when a library is already loaded through this object or the file does not load; ErrorText()
    // then says why. A name without "/" is searched for as the system loader does.
    bool Load(const std::string& fileName);
    void Unload();
    bool Loaded() const { return module_ != nullptr; }

    // The exported symbol, or nullptr (ErrorText() then says why).
    void* Symbol(const char* name);
    // Symbol() cast to a function pointer type.
    template <class F>
    F Function(const char* name)
    {
        return reinterpret_cast<F>(Symbol(name));
    }

    // The module handle as an integer (0 when nothing is loaded), as it is handed to plug-ins.
    std::intptr_t Handle() const { return reinterpret_cast<std::intptr_t>(module_); }
    const std::string& FileName() const { return fileName_; }
    // The system loader's message of the last failed Load, Symbol or Unload; empty after a success.
    const std::string& ErrorText() const { return errorText_; }

private:
    void* module_ = nullptr;
    std::string fileName_;
    std::string errorText_;
};
