#include "dynamiclibrary.h"

#include <dlfcn.h>
#include <utility>

namespace {

std::string LastDlError(const char* fallback)
{
    const char* text = ::dlerror();
    return text ? std::string(text) : std::string(fallback);
}

} // namespace

TDynamicLibrary::~TDynamicLibrary()
{
    Unload();
}

TDynamicLibrary::TDynamicLibrary(TDynamicLibrary&& other) noexcept
    : module_(std::exchange(other.module_, nullptr)), fileName_(std::move(other.fileName_)),
      errorText_(std::move(other.errorText_))
{}

TDynamicLibrary& TDynamicLibrary::operator=(TDynamicLibrary&& other) noexcept
{
    if (this != &other) {
        Unload();
        module_ = std::exchange(other.module_, nullptr);
        fileName_ = std::move(other.fileName_);
        errorText_ = std::move(other.errorText_);
    }
    return *this;
}

bool TDynamicLibrary::Load(const std::string& fileName)
{
    if (module_) {
        errorText_ = "a library is already loaded";
        return false;
    }
    ::dlerror();
    module_ = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module_) {
        errorText_ = LastDlError("cannot load library");
        return false;
    }
    fileName_ = fileName;
    errorText_.clear();
    return true;
}

void TDynamicLibrary::Unload()
{
    if (!module_)
        return;
    ::dlerror();
    if (::dlclose(module_) != 0)
        errorText_ = LastDlError("cannot unload library");
    else
        errorText_.clear();
    module_ = nullptr;
    fileName_.clear();
}

void* TDynamicLibrary::Symbol(const char* name)
{
    if (!module_) {
        errorText_ = "no library loaded";
        return nullptr;
    }
    // A symbol may legitimately be null, so the error state tells a miss apart.
    ::dlerror();
    void* symbol = ::dlsym(module_, name);
    if (const char* text = ::dlerror()) {
        errorText_ = text;
        return nullptr;
    }
    errorText_.clear();
    return symbol;
}
