#pragma once
// Writing files. Errors carry the system's own description of what went wrong.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace vormix {

class IWritableFile {
 public:
  virtual ~IWritableFile() = default;  // closes the file
  // Answers how many bytes were written; fewer than asked means the write fell short.
  virtual std::size_t Write(std::string_view bytes) = 0;
};

struct TFileCreateResult {
  std::unique_ptr<IWritableFile> File;  // null when the file could not be created
  std::string ErrorText;                // the system's description of the failure
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // Creates the file anew (replacing an existing one) for reading and writing, with no
  // sharing, so that no other program can open it while it is written.
  virtual TFileCreateResult CreateNew(const std::string& path) = 0;
};

}  // namespace vormix
