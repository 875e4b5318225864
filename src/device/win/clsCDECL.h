#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A failure of clsCDECL::CallFunc. It never leaves the transport that makes
// the call: the transport turns it into a status.
class CdeclError : public std::runtime_error {
  public:
    CdeclError(std::uint32_t number, const std::string& description)
        : std::runtime_error(description), m_number(number) {}
    std::uint32_t Number() const { return m_number; }
    static constexpr const char* Source() { return "cCDECL"; }

  private:
    std::uint32_t m_number;
};

// Calls the exported functions of a library loaded at run time with the C
// calling convention, through ordinary function pointers. Arguments are
// machine words (pointers fit: 64 bits on 64-bit Windows), results 32 bits.
class clsCDECL {
  public:
    static constexpr std::uint32_t kNotLoaded = 0x80040000;
    static constexpr std::uint32_t kNoSuchFunction = 0x80040001;
    static constexpr std::uint32_t kTooManyParameters = 0x80040002;
    static constexpr std::size_t kMostParameters = 16;

    clsCDECL() = default;
    ~clsCDECL();
    clsCDECL(const clsCDECL&) = delete;
    clsCDECL& operator=(const clsCDECL&) = delete;

    // Calls `sFunction` with `ParmLongs`; throws CdeclError when no library
    // is loaded, the library has no such function or there are more than 16
    // arguments.
    std::uint32_t CallFunc(const std::string& sFunction,
                           const std::vector<std::intptr_t>& ParmLongs);
    // Loads a library (releasing the previous one); true when loaded.
    bool DllLoad(const std::string& sName);
    // True when a library was loaded and has been released.
    bool DllUnload();
    // The system's last-error value right after the last call.
    std::uint32_t LastError() const { return m_lastError; }

  private:
    void* m_library = nullptr;
    bool m_libraryChanged = false;
    std::string m_functionName;
    void* m_function = nullptr;
    std::uint32_t m_lastError = 0;
};
