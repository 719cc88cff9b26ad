#include "filter/filter.h"

#include <cerrno>
#include <cstring>
#include <istream>
#include <ostream>
#include <string_view>

#include "document/blanks.h"
#include "document/document.h"
#include "document/inside_text.h"
#include "document/text_columns.h"
#include "filter/input.h"
#include "table/markdown.h"
#include "table/reader.h"
#include "table/writer.h"

#ifndef TABULON_VERSION
#define TABULON_VERSION "0"
#endif

namespace tabulon {

namespace {

constexpr std::string_view kProgram = "tabulon-filter";

// Takes "--name value" or "--name=value"; false when the value is missing.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::string& value) {
  const std::string& a = args[i];
  if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
    value = a.substr(name.size() + 1);
    return true;
  }
  if (i + 1 >= args.size()) return false;
  value = args[++i];
  return true;
}

bool ParseWidth(const std::string& s, int& width) {
  if (s.empty() || s.size() > 2) return false;
  for (char ch : s) {
    if (ch < '0' || ch > '9') return false;
  }
  width = std::stoi(s);
  return width >= kMinLineWidth && width <= kMaxLineWidth;
}

template <typename T, std::size_t N>
bool Lookup(const std::pair<std::string_view, T> (&table)[N], std::string_view key, T& out) {
  for (const auto& [name, value] : table) {
    if (name == key) {
      out = value;
      return true;
    }
  }
  return false;
}

constexpr std::pair<std::string_view, RulesFlag> kRules[] = {{"ascii", RulesFlag::Ascii},
                                                             {"box", RulesFlag::Box},
                                                             {"none", RulesFlag::None},
                                                             {"markdown", RulesFlag::Markdown}};
constexpr std::pair<std::string_view, WrapStyle> kWraps[] = {
    {"plain", WrapStyle::Plain}, {"brace", WrapStyle::Delphi},    {"slash", WrapStyle::CFamily},
    {"quote", WrapStyle::Basic}, {"slashes", WrapStyle::Slashes}, {"hash", WrapStyle::Hash}};
constexpr std::pair<std::string_view, Encoding> kEncodings[] = {
    {"utf-8", Encoding::Utf8}, {"utf8", Encoding::Utf8}, {"cp932", Encoding::Cp932}};
constexpr std::pair<std::string_view, WidthRule> kAmbiguous[] = {{"wide", WidthRule::Wide},
                                                                 {"narrow", WidthRule::Narrow}};

// Flags that set one check box on or off.
struct Switch {
  std::string_view on, off;
  std::optional<bool> FilterRequest::*field;
};
constexpr Switch kSwitches[] = {
    {"--column-headings", "--no-column-headings", &FilterRequest::columnHeadings},
    {"--row-headings", "--no-row-headings", &FilterRequest::rowHeadings},
    {"--trim", "--no-trim", &FilterRequest::trim},
};

// Requests that cannot both be honoured, refused whatever their order.
std::string Contradiction(const FilterRequest& r) {
  if (r.trim.value_or(false) && r.width.value_or(false)) {
    return "--trim and --width exclude each other";
  }
  if (r.rules == RulesFlag::None) {
    if (r.columnHeadings.value_or(false)) return "--rules none has no column headings";
    if (r.rowHeadings.value_or(false)) return "--rules none has no row headings";
    if (r.trim.value_or(false)) return "--rules none takes no --trim";
    if (r.width.value_or(false)) return "--rules none takes no --width";
  }
  if (r.rules == RulesFlag::Markdown && r.width.value_or(false)) {
    return "--rules markdown takes no --width";
  }
  return {};
}

}  // namespace

const char* FilterUsage() {
  return "Usage: tabulon-filter [OPTIONS] < input > output\n"
         "Reads a table, spreadsheet cells (TAB-separated) or wrapped tab text on standard\n"
         "input and writes it as a fixed-pitch text table.\n"
         "\n"
         "  --rules ascii|box|none|markdown\n"
         "                               ruled lines with + | -, box-drawing characters, none,\n"
         "                               or a Markdown table (for one read, unless --wrap)\n"
         "  --title TEXT | --no-title    title line (TEXT at most 97 columns wide)\n"
         "  --column-headings | --no-column-headings\n"
         "  --row-headings | --no-row-headings\n"
         "  --trim | --no-trim           leave out the blank columns after the last used one\n"
         "  --width N | --no-width       fixed line width, N from 12 to 99 (unchecks a trim\n"
         "                               read from the input table)\n"
         "  --wrap plain|brace|slash|quote|slashes|hash\n"
         "                               comment wrapping: none, { }, /* */, ' per line,\n"
         "                               // per line, # per line\n"
         "  --input-encoding utf-8|cp932    (default: found from the input)\n"
         "  --output-encoding utf-8|cp932   (default: as the input)\n"
         "  --ambiguous wide|narrow      East Asian Ambiguous characters (circled digits, Greek,\n"
         "                               box lines ...) two columns wide, as Japanese fonts draw\n"
         "                               them, or one, as terminals do (default: as the input\n"
         "                               table, else wide)\n"
         "  --crlf                       end lines with CR LF instead of LF\n"
         "  --help, --version\n"
         "\n"
         "Options the command line leaves out keep what the input table says.\n";
}

ParseOutcome ParseFilterArgs(const std::vector<std::string>& args) {
  FilterRequest r;
  auto bad = [](std::string message) {
    return ParseOutcome{std::nullopt, std::move(message), true};
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string value;
    auto is = [&](std::string_view name) {
      return a == name || (a.size() > name.size() && a.compare(0, name.size(), name) == 0 &&
                           a[name.size()] == '=');
    };
    auto missing = [&](std::string_view name) { return bad(std::string(name) + " needs a value"); };

    bool matched = false;
    for (const Switch& s : kSwitches) {
      if (a == s.on || a == s.off) {
        r.*(s.field) = (a == s.on);
        matched = true;
      }
    }
    if (matched) continue;

    if (a == "--help" || a == "-h") {
      r.help = true;
    } else if (a == "--version") {
      r.version = true;
    } else if (a == "--crlf") {
      r.crlf = true;
    } else if (a == "--no-title") {
      r.title = false;
    } else if (a == "--no-width") {
      r.width = false;
    } else if (is("--rules")) {
      if (!TakeValue(args, i, "--rules", value)) return missing("--rules");
      RulesFlag rules;
      if (!Lookup(kRules, value, rules)) return bad("unknown rule style \"" + value + "\"");
      r.rules = rules;
    } else if (is("--title")) {
      if (!TakeValue(args, i, "--title", value)) return missing("--title");
      // The title field holds one line; a break would split the table.
      if (value.find_first_of("\r\n") != std::string::npos) return bad("a title is one line");
      r.title = true;
      r.titleText = value;
    } else if (is("--width")) {
      if (!TakeValue(args, i, "--width", value)) return missing("--width");
      if (!ParseWidth(value, r.widthValue)) return bad("width \"" + value + "\" is not 12 to 99");
      r.width = true;
    } else if (is("--wrap")) {
      if (!TakeValue(args, i, "--wrap", value)) return missing("--wrap");
      WrapStyle wrap;
      if (!Lookup(kWraps, value, wrap)) return bad("unknown wrap style \"" + value + "\"");
      r.wrap = wrap;
    } else if (is("--input-encoding") || is("--output-encoding")) {
      const bool input = is("--input-encoding");
      const std::string_view name = input ? "--input-encoding" : "--output-encoding";
      if (!TakeValue(args, i, name, value)) return missing(name);
      Encoding encoding;
      if (!Lookup(kEncodings, value, encoding)) return bad("unknown encoding \"" + value + "\"");
      (input ? r.inputEncoding : r.outputEncoding) = encoding;
    } else if (is("--ambiguous")) {
      if (!TakeValue(args, i, "--ambiguous", value)) return missing("--ambiguous");
      WidthRule rule;
      if (!Lookup(kAmbiguous, value, rule)) return bad("unknown width \"" + value + "\"");
      r.ambiguous = rule;
    } else {
      return bad("unknown option \"" + a + "\"");
    }
  }
  if (std::string why = Contradiction(r); !why.empty()) {
    return ParseOutcome{std::nullopt, std::move(why), false};
  }
  return ParseOutcome{r, {}, false};
}

namespace {

// Sets the controls in a fixed order, each through the option handlers as a
// click would, whether or not the reader has greyed the control out.
void ApplyRequest(const FilterRequest& r, const std::string& title, OptionState& o) {
  if (r.rules && *r.rules != RulesFlag::Markdown) {
    o.SetChecked(Option::Ruled, *r.rules != RulesFlag::None);
    if (*r.rules == RulesFlag::Ascii) o.SetChecked(Option::AsciiRules, true);
    if (*r.rules == RulesFlag::Box) o.SetChecked(Option::BoxRules, true);
  }
  if (r.title) {
    o.SetChecked(Option::Title, *r.title);
    if (*r.title) o.SetTitle(title);
  }
  if (r.columnHeadings) o.SetChecked(Option::ColumnHeadings, *r.columnHeadings);
  if (r.rowHeadings) o.SetChecked(Option::RowHeadings, *r.rowHeadings);
  if (r.trim) o.SetChecked(Option::Trim, *r.trim);
  if (r.width) {
    // In the window 桁数 can be checked only once 空白列切捨て is off, and
    // the table read may have checked it: a width asked for is a width given.
    if (*r.width) o.SetChecked(Option::Trim, false);
    o.SetChecked(Option::FixedWidth, *r.width);
    if (*r.width) o.SetPosition(r.widthValue);
  }
}

std::string Plural(long n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// A refused command line: one line, and the usage after a flag or value
// it does not know.
int Refuse(const ParseOutcome& parsed, std::ostream& err) {
  err << kProgram << ": " << parsed.error << '\n';
  if (parsed.showUsage) err << FilterUsage();
  return 2;
}

// Standard output, and whether writing it failed: a write that fails, here
// or when the stream is flushed, is one line and status 1; the errno is
// taken at once, before anything else can set it.
class Output {
 public:
  Output(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  std::ostream& Stream() { return out_; }
  // Whether every write so far went through.
  bool Wrote() {
    if (error_ == 0 && !out_) error_ = errno != 0 ? errno : EIO;
    return error_ == 0;
  }
  // Flushes; `status`, or 1 with the error's line when a write failed.
  int Finish(int status) {
    out_.flush();
    if (!Wrote()) {
      err_ << kProgram << ": cannot write standard output: " << std::strerror(error_) << '\n';
      return 1;
    }
    return status;
  }

 private:
  std::ostream& out_;
  std::ostream& err_;
  int error_ = 0;
};

// The title asked for, as inside text, counting the byte sequences that are
// no character; nullopt, with its line on `err`, when it is too wide for the
// title field.
std::optional<std::string> TitleInside(const FilterRequest& r, std::size_t& replaced,
                                       std::ostream& err) {
  std::string title = r.title.value_or(false) ? InsideFromUtf8(r.titleText, &replaced) : "";
  if (Columns(title) > kMaxTitleColumns) {
    err << kProgram << ": the title is " << Columns(title) << " columns wide; at most "
        << kMaxTitleColumns << " fit\n";
    return std::nullopt;
  }
  return title;
}

// Standard input into the grid, in the encoding asked for or found.
ReadReport ReadInput(Document& doc, const FilterRequest& r, std::istream& in,
                     InputOutcome& input) {
  SetUpGrid(doc);
  return ReadFilterInput(
      doc, in,
      r.inputEncoding ? std::optional<bool>(*r.inputEncoding == Encoding::Utf8) : std::nullopt,
      input);
}

// An input without cells, given back byte for byte.
void WriteBack(Output& output, const InputOutcome& input) {
  for (const auto& [ch, count] : input.blankRuns) {
    for (std::size_t i = 0; i < count; ++i) output.Stream().put(ch);
  }
  output.Stream().flush();
}

// A line of the table in the output's encoding, counting the characters
// that encoding cannot hold.
std::string Encoded(std::string_view line, Encoding encoding, std::size_t& replaced) {
  return encoding == Encoding::Utf8 ? Utf8FromInside(line) : Cp932FromInside(line, &replaced);
}

// The table's lines, each behind the prefix it was read behind (ASCII, the
// same in either encoding); an empty line gets no trailing blanks. Stops at
// the first failed write. Characters the encoding cannot hold are added to
// `replaced`.
void WriteLines(Output& output, const std::vector<std::string>& lines, std::string_view prefix,
                Encoding encoding, std::string_view eol, std::size_t& replaced) {
  errno = 0;
  std::ostream& out = output.Stream();
  for (const std::string& line : lines) {
    out << (line.empty() ? StripTrailing(prefix) : prefix) << Encoded(line, encoding, replaced)
        << eol;
    if (!output.Wrote()) break;
  }
  out.flush();
  output.Wrote();
}

// What could not be read or written as it stood: byte sequences that are
// no character, read as U+FFFD; characters the output's encoding lacks,
// written "?"; rows and fields beyond the grid, columns beyond the line width.
void WriteNotes(std::ostream& notes, std::size_t unreadable, std::size_t lacked,
                const ReadReport& report, const LineFit& fit) {
  if (unreadable > 0) {
    notes << kProgram << ": "
          << Plural(static_cast<long>(unreadable), "invalid byte sequence",
                    "invalid byte sequences")
          << " read as U+FFFD\n";
  }
  if (lacked > 0) {
    notes << kProgram << ": " << Plural(static_cast<long>(lacked), "character", "characters")
          << " that CP932 lacks written as \"?\"\n";
  }
  if (report.linesLeftOut > 0) {
    notes << kProgram << ": left out " << Plural(report.linesLeftOut, "line", "lines")
          << " after the end of the Markdown table\n";
  }
  if (report.rowsLeftOut > 0 || report.fieldsLeftOut > 0) {
    notes << kProgram << ": left out ";
    if (report.rowsLeftOut > 0)
      notes << Plural(report.rowsLeftOut, "row", "rows") << " beyond row 256";
    if (report.rowsLeftOut > 0 && report.fieldsLeftOut > 0) notes << " and ";
    if (report.fieldsLeftOut > 0) {
      notes << Plural(report.fieldsLeftOut, "field", "fields") << " beyond column 36";
    }
    notes << '\n';
  }
  if (fit.columnsLeftOut > 0) {
    notes << kProgram << ": left out " << Plural(fit.columnsLeftOut, "column", "columns")
          << " with text that did not fit in the line width of " << fit.width << "\n";
  }
}

// The options a comment wrap of a Markdown table goes by: its marks on
// lines of their own, as around a table without rules or a title line.
OptionState MarkdownWrapOptions() {
  OptionState o;
  o.SetChecked(Option::Ruled, false);
  o.SetChecked(Option::Title, false);
  return o;
}

}  // namespace

int RunFilter(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err, bool errIsOut) {
  // Where standard error is standard output (an editor's filter command),
  // the notes would land in the user's text: they are left out there.
  std::ostream nowhere(nullptr);
  std::ostream& notes = errIsOut ? nowhere : err;
  const ParseOutcome parsed = ParseFilterArgs(args);
  if (!parsed.request) return Refuse(parsed, err);
  const FilterRequest& r = *parsed.request;
  Output output(out, err);
  if (r.help) {
    errno = 0;
    out << FilterUsage();
    return output.Finish(0);
  }
  if (r.version) {
    errno = 0;
    out << kProgram << ' ' << TABULON_VERSION << '\n';
    return output.Finish(0);
  }

  // Every measure of the run, the title's and the input's fields included.
  const WidthRuleScope widthRule(r.ambiguous.value_or(WidthRule::Wide));
  std::size_t unreadable = 0;  // bad byte sequences read, in the title and the input
  const std::optional<std::string> title = TitleInside(r, unreadable, err);
  if (!title) return 2;

  Document doc;
  InputOutcome input;
  const ReadReport report = ReadInput(doc, r, in, input);
  if (input.readError != 0) {
    err << kProgram << ": cannot read standard input: " << std::strerror(input.readError) << '\n';
    return 1;
  }
  if (input.blank) {
    // Nothing to make a table of: an editor's filter command keeps the text.
    WriteBack(output, input);
    if (!output.Wrote()) return 1;
    notes << kProgram << ": no cells in the input; it is written back unchanged\n";
    return 1;
  }
  unreadable += input.replaced;
  if (!r.ambiguous && report.widthRule) SetWidthRule(*report.widthRule);
  ApplyRequest(r, *title, doc.options);
  LineFit fit;
  // A Markdown table read is written as one again, unless --rules or --wrap
  // asks for another form, as the preview offers Markdown beside the wraps.
  const bool markdown = r.rules ? *r.rules == RulesFlag::Markdown
                                : !r.wrap && report.kind == ReadReport::Kind::MarkdownTable;
  WrittenTable table = markdown ? WrittenTable{WriteMarkdownTable(doc), 0} : WriteTable(doc, &fit);
  std::size_t lacked = 0;  // characters written "?"
  const WrapStyle wrap = r.wrap.value_or(input.wrap);
  WrapComment(table.lines, table.ruleWidth, wrap, markdown ? MarkdownWrapOptions() : doc.options);
  // A line comment asked for takes the place of the one the input stood
  // behind; the prefix's indentation stays.
  std::string_view prefix = input.prefix;
  if (r.wrap && (wrap == WrapStyle::Slashes || wrap == WrapStyle::Hash) &&
      WrapOfPrefix(prefix) != WrapStyle::Plain) {
    prefix = prefix.substr(0, prefix.find_first_not_of(" \t"));
  }

  WriteLines(output, table.lines, prefix,
             r.outputEncoding.value_or(input.utf8 ? Encoding::Utf8 : Encoding::Cp932),
             r.crlf ? "\r\n" : "\n", lacked);
  WriteNotes(notes, unreadable, lacked, report, fit);
  return output.Finish(0);
}

}  // namespace tabulon
