#pragma once

#include <string>

// Holds a drive for this program alone for the object's lifetime (see
// ExclusiveAccess), through the transport in the program-wide slot. A
// transport without exclusive access (a test's scripted one) always grants it.
class DriveClaim {
  public:
    explicit DriveClaim(std::string drive);
    ~DriveClaim();
    DriveClaim(const DriveClaim&) = delete;
    DriveClaim& operator=(const DriveClaim&) = delete;

    bool Held() const { return m_problem.empty(); }
    // Why the drive could not be held (ExclusiveAccess::kInUse when another
    // program has it); empty when it is held.
    const std::string& Problem() const { return m_problem; }
    bool InUse() const;

  private:
    std::string m_drive;
    std::string m_problem;
};
