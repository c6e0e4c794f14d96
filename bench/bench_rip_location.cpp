// The page read on a 64,000-character game page whose neighbourhood table, its cells classed
// as the game writes them, comes near the end, against a bare scan of the same upper-cased
// text for the crossing tag.

#include <cstddef>
#include <string>
#include <string_view>

#include "bench_support.h"
#include "common/conversions.h"
#include "main/program_state.h"
#include "main/tracking.h"

namespace {

using namespace zeko;

constexpr size_t kBodyChars = 64000;

std::string neighbourhood() {
    const char* names[9] = {"Ragweed and 40th", "", "Squid and 40th",  "", "Ragweed and 41st", "",
                            "Squid and 41st",   "", "Ragweed and 42nd"};
    std::string t = "<TABLE class=nb cellSpacing=0 cellPadding=2 border=0>\n<TBODY>\n";
    for (int row = 0; row < 3; ++row) {
        t += "<TR>\n";
        for (int col = 0; col < 3; ++col) {
            const int cell = 3 * row + col;
            t += cell == 4  ? "<TD class=intersect>"
                 : cell % 2 ? "<TD class=cityblock>"
                            : "<TD class=street>";
            if (cell == 4)
                t += "<SPAN class=intersect>Ragweed and 41st</SPAN><BR><FORM name=m4 "
                     "action=blood.pl method=post><INPUT type=hidden value=move name=action>"
                     "</FORM>";
            else if (*names[cell] == '\0')
                t += "<A href=\"blood.pl?action=look&amp;c=" + std::to_string(cell) +
                     "\">Ragweed Street</A><BR><FONT size=-1>A dark alley</FONT>";
            else
                t += "<SPAN class=street>" + std::string(names[cell]) + "</SPAN>";
            t += "</TD>\n";
        }
        t += "</TR>\n";
    }
    return t + "</TBODY></TABLE>\n";
}

// A game page: the header, a long run of messages and news, then the neighbourhood and the
// countdown form.
std::string game_page() {
    std::string head =
        "<DIV class=top><IMG src=\"vampires.gif\"> <B>Vampires!</B> <A "
        "href=\"blood.pl?action=welcome\">Home</A> | <A href=\"bloodhowto.html\">How to "
        "play</A> | <A href=\"faq.pl\">FAQ</A></DIV>\n<P>You are Count Orlok, a vampire of the "
        "3rd rank. You have 1,234 coins and 56 blood points.</P>\n";
    const std::string tail = neighbourhood() +
                             "<FORM name=countdn><INPUT name=ap value=27 size=3></FORM>\n"
                             "<P class=foot>Vampires! &copy; 2026</P>\n";
    std::string body = head;
    int n = 0;
    while (body.size() + tail.size() < kBodyChars) {
        ++n;
        body += "<P class=msg><B>Message " + std::to_string(n) +
                ":</B> Someone bit you while you slept at the Lounge on Squid &amp; 41st. "
                "You lost <I>3</I> blood points. <A href=\"blood.pl?action=reply&amp;id=" +
                std::to_string(1000 + n) + "\">Reply</A></P>\n";
    }
    body.resize(kBodyChars - tail.size(), ' ');
    return body + tail;
}

struct World : bench::BenchState {
    World() : BenchState(0, 0) {}
    int redraws = 0;
    PositionTracker tracker{state, [this] { ++redraws; }};
    const std::string page = game_page();
};

World& world() {
    static World w;
    return w;
}

void BM_RipLocation(benchmark::State& s) {
    World& w = world();
    for (auto _ : s) {
        bool found = w.tracker.RIP_LOCATION(w.page);
        benchmark::DoNotOptimize(found);
        if (!found) s.SkipWithError("crossing not found");
    }
    const VAMP& v = w.state.db.VAMPS(1);
    if (v.POS_X != 71 || v.POS_Y != 81) s.SkipWithError("wrong position");
}
BENCHMARK(BM_RipLocation);

// The least any read must do: one pass over the upper-cased text for the tag.
void BM_ScanBaseline(benchmark::State& s) {
    World& w = world();
    const std::string upper = UCase(w.page);
    for (auto _ : s) {
        size_t at = std::string_view(upper).find("<SPAN CLASS=INTERSECT>");
        benchmark::DoNotOptimize(at);
    }
}
BENCHMARK(BM_ScanBaseline);

}  // namespace

int main(int argc, char** argv) {
    return zeko::bench::run_with_ratios(argc, argv, {{"BM_RipLocation", "BM_ScanBaseline", 20.0}});
}
