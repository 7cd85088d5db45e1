#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/fileio.h"

namespace tb {

bool read_file(const std::string& path, std::string& out) {
  out.clear();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool write_file_atomic(const std::string& path, const std::function<bool(const ByteSink&)>& produce) {
  std::string tmp = path + ".tmp~" + std::to_string(getpid());
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = produce([f](std::string_view piece) { return std::fwrite(piece.data(), 1, piece.size(), f) == piece.size(); });
  ok = (std::fflush(f) == 0) && ok;
  ok = (fsync(fileno(f)) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(tmp.c_str());
  return ok;
}

bool write_file_atomic(const std::string& path, std::string_view bytes) {
  return write_file_atomic(path, [bytes](const ByteSink& sink) { return sink(bytes); });
}

bool remove_file(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool file_exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::string program_path() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

std::string program_dir() {
  std::string p = program_path();
  return p.substr(0, p.rfind('/') + 1);
}

}  // namespace tb
