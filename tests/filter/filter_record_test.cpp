// The filter against its own record (tests/data/filter_record): for a few
// thousand inputs and options, the output, encoded in CP932, and the exit
// status are what they were when the record was made; for code-page text,
// the notes on standard error too.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "document/codec.h"
#include "filter/filter.h"

namespace tabulon {
namespace {

// The head is "INDEX KIND MARK ENCODING": MARK "-" for code-page text only,
// ENCODING that of the output.
struct RecordedCase {
  std::string head, mark, encoding, in, out, err;
  std::vector<std::string> args;
  int status = 0;
};

std::vector<std::string> SplitAt(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(sep, from)) != std::string::npos; from = at + 1) {
    parts.push_back(text.substr(from, at - from));
  }
  if (!text.empty()) parts.push_back(text.substr(from));
  return parts;
}

// A line "case ..." or "status S" or "NAME N", then N bytes and a line break.
std::vector<RecordedCase> ReadRecord() {
  std::ifstream file(TABULON_FILTER_RECORD, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(file)), {});
  std::vector<RecordedCase> cases;
  for (std::size_t pos = 0, eol; (eol = data.find('\n', pos)) != std::string::npos;) {
    std::istringstream line(data.substr(pos, eol - pos));
    pos = eol + 1;
    std::string name, index, kind;
    line >> name;
    if (name == "case") {
      RecordedCase& c = cases.emplace_back();
      std::getline(line >> std::ws, c.head);
      std::istringstream(c.head) >> index >> kind >> c.mark >> c.encoding;
    } else if (cases.empty()) {
      break;
    } else if (name == "status") {
      line >> cases.back().status;
    } else {
      std::size_t n = 0;
      line >> n;
      std::string bytes = data.substr(pos, n);
      pos += n + 1;
      if (name == "args") cases.back().args = SplitAt(bytes, '\0');
      if (name == "in") cases.back().in = std::move(bytes);
      if (name == "out") cases.back().out = std::move(bytes);
      if (name == "err") cases.back().err = std::move(bytes);
    }
  }
  return cases;
}

// Notes as recorded, but for the usage that follows a refused command line:
// that is --help's text, which grows with the options (the manual page's
// test holds it to them), and is the one the filter prints now.
bool NotesAgree(const std::string& notes, const std::string& recorded) {
  if (notes == recorded) return true;
  const std::string usage = FilterUsage();
  const std::size_t at = recorded.find("Usage: tabulon-filter");
  return at != std::string::npos && notes.size() == at + usage.size() &&
         notes.compare(0, at, recorded, 0, at) == 0 && notes.ends_with(usage);
}

// Runs the cases whose mark is (or, with `others`, is not) "-"; names the
// first few that differ, with their first differing line.
void CheckRecorded(bool others) {
  static const std::vector<RecordedCase> cases = ReadRecord();
  ASSERT_GT(cases.size(), 2000u) << TABULON_FILTER_RECORD;
  int failures = 0;
  std::string more;  // the cases that differ past the first few
  for (const RecordedCase& c : cases) {
    if ((c.mark != "-") != others) continue;
    std::istringstream in(c.in);
    std::ostringstream out, err;
    const int status = RunFilter(c.args, in, out, err);
    const bool utf8 = c.encoding == "utf8";
    const std::string got = utf8 ? Utf8ToCp932(out.str()) : out.str();
    const std::string want = utf8 ? Utf8ToCp932(c.out) : c.out;
    // Notes on text the code page lacks are the other cases' business.
    const bool notesAgree = others || NotesAgree(err.str(), c.err);
    if (status == c.status && got == want && notesAgree) continue;
    if (++failures > 5) {
      more += " " + c.head.substr(0, c.head.find(' '));
      continue;
    }
    const std::vector<std::string> g = SplitAt(got, '\n'), w = SplitAt(want, '\n');
    std::size_t k = 0;
    while (k < g.size() && k < w.size() && g[k] == w[k]) ++k;
    std::string args;
    for (const std::string& a : c.args) args += " " + a;
    ADD_FAILURE() << "case " << c.head << "; args" << args << "\nstatus " << status << " (recorded "
                  << c.status << "); line " << k + 1
                  << ":\n  written:  " << Cp932ToUtf8(k < g.size() ? g[k] : "(none)")
                  << "\n  recorded: " << Cp932ToUtf8(k < w.size() ? w[k] : "(none)")
                  << (notesAgree ? "" : "\nnotes:\n" + err.str() + "recorded notes:\n" + c.err);
  }
  if (failures > 5) ADD_FAILURE() << failures - 5 << " more cases differ:" << more;
}

TEST(FilterRecord, CodePageTextWrittenAsRecorded) {
  CheckRecorded(false);
}

// Characters CP932 lacks, bytes that are no character, and the codes the
// code page has twice for one character: what the filter made of them.
TEST(FilterRecord, OtherTextWrittenAsRecorded) {
  CheckRecorded(true);
}

}  // namespace
}  // namespace tabulon
