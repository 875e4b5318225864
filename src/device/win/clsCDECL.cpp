#include "clsCDECL.h"

#include <windows.h>

#include <array>
#include <utility>

#include "WideText.h"

namespace {
using Arguments = std::array<std::intptr_t, clsCDECL::kMostParameters>;
using Caller = std::uint32_t (*)(void* function, const Arguments& arguments);

template <std::size_t>
using Word = std::intptr_t;

// Calls `function` as a C function of N machine-word parameters.
template <std::size_t... I>
std::uint32_t CallWith(void* function, const Arguments& arguments) {
    using Function = std::uint32_t(__cdecl*)(Word<I>...);
    return reinterpret_cast<Function>(function)(arguments[I]...);
}

template <std::size_t... I>
constexpr Caller CallerFor(std::index_sequence<I...>) {
    return &CallWith<I...>;
}

template <std::size_t... N>
constexpr std::array<Caller, sizeof...(N)> MakeCallers(std::index_sequence<N...>) {
    return {CallerFor(std::make_index_sequence<N>())...};
}

// One caller per argument count, 0 to 16.
constexpr auto kCallers = MakeCallers(std::make_index_sequence<clsCDECL::kMostParameters + 1>());
}  // namespace

clsCDECL::~clsCDECL() {
    DllUnload();
}

std::uint32_t clsCDECL::CallFunc(const std::string& sFunction,
                                 const std::vector<std::intptr_t>& ParmLongs) {
    if (m_library == nullptr) throw CdeclError(kNotLoaded, "DLL not loaded");
    if (m_libraryChanged || sFunction != m_functionName) {
        const FARPROC address =
            ::GetProcAddress(static_cast<HMODULE>(m_library), sFunction.c_str());
        if (address == nullptr)
            throw CdeclError(kNoSuchFunction, "Failed to locate function: " + sFunction);
        m_function = reinterpret_cast<void*>(address);
        m_functionName = sFunction;
        m_libraryChanged = false;
    }
    if (ParmLongs.size() > kMostParameters)
        throw CdeclError(kTooManyParameters, "Too many parameters");
    Arguments arguments{};
    std::copy(ParmLongs.begin(), ParmLongs.end(), arguments.begin());
    ::SetLastError(ERROR_SUCCESS);
    const std::uint32_t result = kCallers[ParmLongs.size()](m_function, arguments);
    m_lastError = ::GetLastError();
    return result;
}

bool clsCDECL::DllLoad(const std::string& sName) {
    const HMODULE library = ::LoadLibraryW(Wide(sName).c_str());
    if (library == nullptr) return false;
    DllUnload();
    m_library = library;
    m_libraryChanged = true;
    return true;
}

bool clsCDECL::DllUnload() {
    if (m_library == nullptr) return false;
    ::FreeLibrary(static_cast<HMODULE>(m_library));
    m_library = nullptr;
    m_function = nullptr;
    m_functionName.clear();
    return true;
}
