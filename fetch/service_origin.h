// Where requests may go: the origin (scheme, host, port) of the service's address. Every
// page link and redirect is checked against it before anything is connected to, so the
// API key, and the requests themselves, reach only the place the user pointed at.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vd::fetch {

struct Origin {
    std::string scheme;  // "http" or "https", lower case
    std::string host;    // lower case
    std::string port;    // always given: 80 and 443 when the address names none
    bool operator==(const Origin&) const = default;
};

// The origin of an absolute http or https address; none for any other address.
std::optional<Origin> webOriginOf(std::string_view url);

// "https://api.example.org:443".
std::string originText(const Origin& o);

class ServiceOrigin {
  public:
    // Throws a fetch error when `baseUrl` is no absolute http or https address.
    explicit ServiceOrigin(std::string_view baseUrl);

    const Origin& origin() const { return origin_; }
    bool isClearText() const { return origin_.scheme == "http"; }

    // `link` (absolute, or relative to `from`) as an absolute address of the service.
    // Throws a fetch error, naming `what` and both origins, for any other scheme or origin.
    std::string checkedLink(std::string_view link, std::string_view from,
                            std::string_view what) const;

  private:
    Origin origin_;
};

}  // namespace vd::fetch
