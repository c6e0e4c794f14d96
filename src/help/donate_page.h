#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The donation page: five payment buttons side by side above a thank-you note.
namespace zeko::help {

inline constexpr std::array<int, 5> kDonationAmounts = {5, 10, 20, 50, 100};
inline constexpr size_t kPayloadLength = 2520;

struct DonateHosts {
    // The payment service; its button address is https://<payment>/cgi-bin/webscr.
    std::string payment;
    // Where the button pictures (5.gif ... 100.gif) lie.
    std::string images;
};
DonateHosts built_donate_hosts();

std::string TABLE_OPEN();
std::string CELL_OPEN();
std::string CELL_CLOSE();
std::string TABLE_CLOSE();
// The payment form of one amount (5, 10, 20, 50 or 100).
std::string BUTTON(int amount, const DonateHosts& hosts = built_donate_hosts());
std::string THANKS_TEXT();
// The service's encrypted button data for an amount, joined from its pieces.
std::string payment_payload(int amount);
// The whole body, in page order.
std::string donation_page(const DonateHosts& hosts = built_donate_hosts());

}  // namespace zeko::help
