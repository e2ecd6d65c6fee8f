#include "offline/progress_bar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kBarWidth = 24;
constexpr auto kRedrawEvery = std::chrono::milliseconds(125);

std::string minutes(double seconds) {
    const long whole = std::lround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, long total, bool live) : out_(out), total_(total), live_(live) {}

double ProgressBar::elapsed() const { return std::chrono::duration<double>(Clock::now() - started_).count(); }

std::string ProgressBar::text(long done, long total, double elapsedSeconds) {
    const double fraction = total > 0 ? std::clamp(static_cast<double>(done) / total, 0.0, 1.0) : 1.0;
    const int filled = static_cast<int>(fraction * kBarWidth);
    const double fps = elapsedSeconds > 0 ? done / elapsedSeconds : 0.0;
    const std::string left = fps > 0 ? minutes((total - done) / fps) + " left" : "-:-- left";
    char text[160];
    std::snprintf(text, sizeof text, "[%s%s] %6ld/%ld %5.1f%% %7.1f fps  %s", std::string(filled, '#').c_str(),
                  std::string(kBarWidth - filled, '.').c_str(), done, total, 100.0 * fraction, fps, left.c_str());
    return text;
}

void ProgressBar::update(long done) {
    if (!live_) return;
    const Clock::time_point now = Clock::now();
    if (now - drawn_ < kRedrawEvery) return;
    drawn_ = now;
    out_ << '\r' << text(done, total_, elapsed()) << "\x1b[K" << std::flush;
}

void ProgressBar::finish(long done) {
    if (live_) out_ << '\r';
    out_ << text(done, total_, elapsed()) << (live_ ? "\x1b[K\n" : "\n") << std::flush;
}
