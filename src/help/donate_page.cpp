#include "help/donate_page.h"

#include <cstdint>

#include "common/hosts.h"

namespace zeko::help {

namespace {

std::string q(std::string_view value) {
    std::string s = "\"";
    s += value;
    s += "\"";
    return s;
}

constexpr size_t kPieces = 9;
constexpr size_t kPieceLength = kPayloadLength / kPieces;

// The payment service encrypts each button's data with its own key; the program never reads
// it. These stand-ins have the shape of the real blocks (a PKCS7 block in Base64, 2,520
// characters) and differ per amount; the service's own blocks replace them for a real account.
std::array<std::string, kPieces> payload_pieces(int amount) {
    static constexpr char kBase64[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    constexpr std::string_view kBegin = "-----BEGIN PKCS7-----";
    constexpr std::string_view kEnd = "-----END PKCS7-----";
    std::string all(kBegin);
    uint32_t seed = 2166136261u ^ static_cast<uint32_t>(amount);
    while (all.size() < kPayloadLength - kEnd.size()) {
        seed = seed * 1664525u + 1013904223u;
        all += kBase64[(seed >> 10) % 64];
    }
    all += kEnd;
    std::array<std::string, kPieces> pieces;
    for (size_t i = 0; i < kPieces; ++i)
        pieces[i] = all.substr(i * kPieceLength, kPieceLength);
    return pieces;
}

}  // namespace

DonateHosts built_donate_hosts() {
    return {hosts::kMaker, hosts::kImages};
}

std::string TABLE_OPEN() {
    return "<TABLE cellspacing=2 cellpadding=2>";
}
std::string CELL_OPEN() {
    return "<TD>";
}
std::string CELL_CLOSE() {
    return "</TD>";
}
std::string TABLE_CLOSE() {
    return "</TABLE>";
}

std::string payment_payload(int amount) {
    std::string payload;
    for (const std::string& piece : payload_pieces(amount))
        payload += piece;
    return payload;
}

std::string BUTTON(int amount, const DonateHosts& hosts) {
    const std::string action = "https://" + hosts.payment + "/cgi-bin/webscr";
    const std::string picture =
        "http://" + hosts.images + "/zeko/" + std::to_string(amount) + ".gif";
    std::string s = "<form style=" + q("padding=0");
    s += amount == 100 ? " action=" : "action=";
    s += q(action) + " method=" + q("post") + ">";
    s += "<input type=" + q("hidden") + " name=" + q("cmd") + " value=" + q("_s-xclick") + ">";
    s += "<input type=" + q("image") + " src=" + q(picture) + " border=" + q("0") +
         " name=" + q("submit") +
         " alt=" + q("Make payments with PayPal - it's fast, free and secure!") + ">";
    s += "<input type=" + q("hidden") + " name=" + q("encrypted") +
         " value=" + q(payment_payload(amount)) + "></form>";
    return s;
}

std::string THANKS_TEXT() {
    return "<div style = " +
           q("FONT-SIZE: 11pt; FONT-FAMILY: 'Comic Sans MS'; position:absolute; left:35; "
             "width:85%;") +
           ">Thank you for taking a look at this page! I hope Z.E.K.O.\xC2\xB2 has been worth "
           "a small donation to you. Donations go through PayPal, securely: a button takes you "
           "to PayPal's own pages, where you decide the rest." +
           "<br><br>Thanks again!<br><br>- Morvanek</div>";
}

std::string donation_page(const DonateHosts& hosts) {
    std::string s = TABLE_OPEN();
    for (int amount : kDonationAmounts)
        s += CELL_OPEN() + BUTTON(amount, hosts) + CELL_CLOSE();
    s += TABLE_CLOSE() + THANKS_TEXT();
    return s;
}

}  // namespace zeko::help
