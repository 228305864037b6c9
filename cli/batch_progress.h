// The batch's progress line on a terminal: files done of all, gages done, rate and time left,
// rewritten in place.
#pragma once

#include <chrono>
#include <ostream>

#include "batch_run.h"

namespace vd::cli {

class ProgressLine {
  public:
    explicit ProgressLine(std::ostream& out);
    void show(const BatchCounts& counts);
    // Ends the line so that later messages start on their own.
    void finish();

  private:
    std::ostream& out_;
    const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    bool shown_ = false;
};

}  // namespace vd::cli
