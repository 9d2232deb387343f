#pragma once
// Reused buffers for batches of file work.
//
// A profile file is over a megabyte. The heap gives blocks of that size back
// to the system when they are freed, and every page of a fresh block costs a
// page fault when it is first touched (about 9 us a page under Wine on this
// machine, so 2.5 ms for each megabyte buffer). While a ScratchScope is alive
// on a thread, buffers handed back are kept and handed out again, so saving
// or loading all five profiles faults its pages once instead of once a file.
// Outside a scope nothing is kept, and the last scope frees what it kept.
//
//   ScratchScope scope;                 // around saveAll, loadAll
//   std::string bytes = takeScratch();  // empty, possibly with capacity
//   ...
//   giveScratch(std::move(bytes));

#include <string>

class ScratchScope {
 public:
  ScratchScope();
  ~ScratchScope();
  ScratchScope(const ScratchScope&) = delete;
  ScratchScope& operator=(const ScratchScope&) = delete;
};

std::string takeScratch();
void giveScratch(std::string&& buffer);
