#pragma once

#include <string>

// The one image file a recording may delete: the temporary image that the
// data disc or copy window left in the setting "TempISO", remembered when the
// recording started for task 0 or 3. A user's own image (task 2, or any path
// other than the remembered one, or a file outside the temp folder) is never
// deleted.
class TemporaryImage {
  public:
    // Nothing is temporary.
    TemporaryImage() = default;
    // `rememberedPath` counts only for tasks 0 and 3.
    TemporaryImage(int task, std::string rememberedPath);
    // For tasks 0 and 3 remembers the path stored in "TempISO".
    static TemporaryImage FromSettings(int task);

    // The remembered path; empty when nothing is temporary.
    const std::string& Path() const { return m_path; }
    // True when `path` names the remembered image and that lies in the temp folder.
    bool Covers(const std::string& path) const;
    // Deletes `path` when Covers(path). Returns true when a file was removed.
    bool DeleteIfCovered(const std::string& path) const;

    // Removes what earlier runs left in the temp folder (at the start of the
    // program or of a command that uses the folder): the job folders whose
    // lock no running job holds, and the files older versions kept at the top
    // ("tempiso.iso", "tempwav.wav" and their partial files) when last written
    // before this call. Nothing else there is touched.
    static void RemoveStaleFiles();

  private:
    std::string m_path;
};
