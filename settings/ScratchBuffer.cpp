#include "ScratchBuffer.h"

#include <utility>
#include <vector>

namespace {

// Small buffers live in the heap's own free lists anyway.
constexpr size_t kWorthKeeping = 64 * 1024;
constexpr size_t kMaxKept = 4;

struct Pool {
  int scopes = 0;
  std::vector<std::string> kept;
};

thread_local Pool pool;

}  // namespace

ScratchScope::ScratchScope() { ++pool.scopes; }

ScratchScope::~ScratchScope() {
  if (--pool.scopes == 0) std::vector<std::string>().swap(pool.kept);
}

std::string takeScratch() {
  if (pool.kept.empty()) return {};
  std::string buffer = std::move(pool.kept.back());
  pool.kept.pop_back();
  buffer.clear();
  return buffer;
}

void giveScratch(std::string&& buffer) {
  if (pool.scopes == 0 || buffer.capacity() < kWorthKeeping || pool.kept.size() >= kMaxKept) {
    std::string().swap(buffer);
    return;
  }
  pool.kept.push_back(std::move(buffer));
}
