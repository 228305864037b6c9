// A site that could not be fetched; the message says why, for the user.
#pragma once

#include <stdexcept>

namespace vd::fetch {

class FetchError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The user stopped the fetching.
class FetchCancelled : public FetchError {
  public:
    FetchCancelled() : FetchError("Fetching was cancelled") {}
};

}  // namespace vd::fetch
