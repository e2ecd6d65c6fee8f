#include "show/line_difference.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Above this many cells (base lines x text lines) the middle of the texts
// is not matched line by line but replaced whole: such a text shares
// little with the show's script, and its link is too long to share anyway.
constexpr std::size_t kMaxMatchCells = 4u << 20;

// The lines between '\n's: "a\nb\n" is "a", "b", "" (joined again with '\n').
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 1);
    }
}

void putNumber(std::string& out, std::size_t value) {
    while (value >= 0x80) {
        out += static_cast<char>(0x80 | (value & 0x7F));
        value >>= 7;
    }
    out += static_cast<char>(value);
}

bool takeNumber(std::string_view& in, std::size_t& value) {
    value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (in.empty()) return false;
        const auto byte = static_cast<unsigned char>(in.front());
        in.remove_prefix(1);
        value |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

// Which lines of a and b a longest common subsequence pairs: for each line
// of a, true when it is kept.
std::vector<bool> keptLines(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                            std::vector<bool>& keptB) {
    const std::size_t n = a.size(), m = b.size();
    std::vector<bool> keptA(n, false);
    keptB.assign(m, false);
    if (n == 0 || m == 0 || (n + 1) * (m + 1) > kMaxMatchCells) return keptA;
    // length[i][j]: the longest common run of a[i..] and b[j..].
    std::vector<std::uint32_t> length((n + 1) * (m + 1), 0);
    const auto at = [m](std::size_t i, std::size_t j) { return i * (m + 1) + j; };
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            length[at(i, j)] =
                a[i] == b[j] ? length[at(i + 1, j + 1)] + 1 : std::max(length[at(i + 1, j)], length[at(i, j + 1)]);
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (a[i] == b[j]) {
            keptA[i++] = true;
            keptB[j++] = true;
        } else if (length[at(i + 1, j)] >= length[at(i, j + 1)]) {
            ++i;
        } else {
            ++j;
        }
    }
    return keptA;
}

}  // namespace

std::string lineDifference(std::string_view base, std::string_view text) {
    const std::vector<std::string_view> a = linesOf(base), b = linesOf(text);
    // The common start and end are kept without the table.
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    const std::vector<std::string_view> midA(a.begin() + head, a.end() - tail), midB(b.begin() + head, b.end() - tail);
    std::vector<bool> keptB;
    const std::vector<bool> keptA = keptLines(midA, midB, keptB);

    std::string out;
    std::size_t kept = head, i = 0, j = 0;
    while (i < midA.size() || j < midB.size()) {
        if (i < midA.size() && j < midB.size() && keptA[i] && keptB[j]) {
            ++kept, ++i, ++j;
            continue;
        }
        std::size_t dropped = 0, added = 0;
        const std::size_t firstAdded = j;
        while (i < midA.size() && !keptA[i]) ++dropped, ++i;
        while (j < midB.size() && !keptB[j]) ++added, ++j;
        putNumber(out, kept);
        putNumber(out, dropped);
        putNumber(out, added);
        for (std::size_t k = firstAdded; k < firstAdded + added; ++k) {
            out += midB[k];
            out += '\n';
        }
        kept = 0;
    }
    return out;
}

bool applyLineDifference(std::string_view base, std::string_view difference, std::string& text) {
    const std::vector<std::string_view> a = linesOf(base);
    std::vector<std::string_view> lines;
    std::size_t next = 0;  // the base's first line not yet kept or dropped
    while (!difference.empty()) {
        std::size_t kept = 0, dropped = 0, added = 0;
        if (!takeNumber(difference, kept) || !takeNumber(difference, dropped) || !takeNumber(difference, added))
            return false;
        if (kept > a.size() - next || dropped > a.size() - next - kept) return false;
        lines.insert(lines.end(), a.begin() + next, a.begin() + next + kept);
        next += kept + dropped;
        for (std::size_t k = 0; k < added; ++k) {
            const std::size_t end = difference.find('\n');
            if (end == std::string_view::npos) return false;
            lines.push_back(difference.substr(0, end));
            difference.remove_prefix(end + 1);
        }
    }
    lines.insert(lines.end(), a.begin() + next, a.end());
    text.clear();
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) text += '\n';
        text += lines[k];
    }
    return true;
}
