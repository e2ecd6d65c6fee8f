// Script files as a person or a broken disk might leave them: the text is
// read; the rows it gives are written out and read again, which must give
// the same rows (the --dump-script round trip), and every problem's
// message stays one short line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "show/script_text.h"

namespace {

bool sameText(const char* a, const char* b) { return (!a && !b) || (a && b && std::strcmp(a, b) == 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ScriptTable table;
    ScriptProblems problems;
    readScriptText(text, table, problems);
    if (problems.list.size() > ScriptProblems::kMax) std::abort();
    for (const ScriptProblem& problem : problems.list)
        if (problem.line < 1 || problem.line > table.lineCount || problem.message.size() > 400 ||
            problem.message.find('\n') != std::string::npos)
            std::abort();

    const std::string written = scriptText(table.rows());
    ScriptTable again;
    ScriptProblems none;
    if (!readScriptText(written, again, none) || again.size() != table.size()) std::abort();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ScriptEntry &a = table.rows()[i], &b = again.rows()[i];
        if (a.order != b.order || a.row != b.row || !sameText(a.target, b.target) || !sameText(a.command, b.command) ||
            !sameText(a.argument, b.argument))
            std::abort();
    }
    return 0;
}
