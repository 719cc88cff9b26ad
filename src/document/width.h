// Display columns of UTF-8 text on the fixed-pitch grid of a table. A
// character the code page holds takes the bytes of its CP932 code (so text
// of the code page measures as it encodes, byte for byte); any other takes
// two columns when Unicode calls it Wide or Fullwidth, else one. Marks,
// variation selectors and zero-width characters take none and stay with the
// character before; an emoji drawn as an emoji (with U+FE0F, a keycap, a
// flag, a joiner sequence, a skin tone) takes two. Under the narrow rule
// (WidthRule) the code page's characters that Unicode draws narrow take one.
#pragma once

#include <cstddef>
#include <iterator>
#include <span>
#include <string_view>

namespace tabulon {

// How the code page's characters that Unicode draws narrow are counted: the
// East Asian Ambiguous ones (○ ① α ─ │ ┌ ※ §, Greek, Cyrillic ...) and the
// look-alikes ¢ £ ¬ −. Every other character counts alike under both.
enum class WidthRule {
  // Two columns, their CP932 bytes, as Japanese fonts draw them: the default.
  Wide,
  // One column, as terminals and editors draw them unless told otherwise
  // (glibc's wcwidth, Vim's 'ambiwidth' single).
  Narrow,
};

// The rule every measure here and in document/text_columns.h counts by;
// Wide until set. One for the process, as where the text is shown is one
// setting (the window's, the filter's command line): every measure of the
// writer, the reader and the editing code follows it without being passed
// it. Measuring runs on one thread: set it on that thread, between measures.
WidthRule CurrentWidthRule();
void SetWidthRule(WidthRule rule);

// Sets the rule for a scope and puts back the one before when it ends:
// the filter for its run, the reader while it reads a table written under
// the other rule. Within the scope SetWidthRule may change it again.
class WidthRuleScope {
 public:
  explicit WidthRuleScope(WidthRule rule) : before_(CurrentWidthRule()) { SetWidthRule(rule); }
  ~WidthRuleScope() { SetWidthRule(before_); }
  WidthRuleScope(const WidthRuleScope&) = delete;
  WidthRuleScope& operator=(const WidthRuleScope&) = delete;

 private:
  WidthRule before_;
};

// The columns of a code point standing alone, under the current rule: 0, 1
// or 2. A mark or another character that joins the one before gives what it
// adds to it (0; 1 for a spacing mark). Control codes are one column, as a
// byte is; TAB never reaches here from a cell, whose text the TABs of a line
// have split. Anything past U+10FFFF counts as U+FFFD, one column.
int CharColumns(char32_t cp);

// What is drawn as one: the bytes [begin, end) of a text and their columns.
// A cut or a pad by columns falls between clusters, never inside one.
struct Cluster {
  std::size_t begin = 0;
  std::size_t end = 0;
  int columns = 0;
};

namespace detail {
Cluster ClusterAtSlow(std::string_view utf8, std::size_t at);
}

// The cluster that begins at utf8[at] (at < utf8.size()). Bytes that are no
// UTF-8 are one column for each bad sequence (what becomes one U+FFFD). Only
// text that begins with marks or zero-width characters has a cluster of no
// columns (begun there, with nothing before to join).
inline Cluster ClusterAt(std::string_view utf8, std::size_t at) {
  // ASCII before ASCII: nothing joins an ASCII character but a non-ASCII one.
  if (static_cast<unsigned char>(utf8[at]) < 0x80 &&
      (at + 1 == utf8.size() || static_cast<unsigned char>(utf8[at + 1]) < 0x80)) {
    return {at, at + 1, 1};
  }
  return detail::ClusterAtSlow(utf8, at);
}

// The columns of a text: its clusters' columns added.
std::size_t TextColumns(std::string_view utf8);
// The same, adding the text's bad UTF-8 sequences to *bad.
std::size_t TextColumns(std::string_view utf8, std::size_t* bad);

// The columns of the TAB-separated fields of a line: widths[k] becomes at
// least the columns of field k; the fields past widths.size() are not
// measured. Bad UTF-8 counts as TextColumns counts it; with `bad`, the bad
// sequences of the whole line, those fields too, are added to *bad.
void WidenToColumnFields(std::string_view utf8, std::span<std::size_t> widths,
                         std::size_t* bad = nullptr);

// A text's clusters in order: for (const Cluster& c : Clusters(text)).
class Clusters {
 public:
  explicit Clusters(std::string_view utf8) : text_(utf8) {}

  class Iterator {
   public:
    using value_type = Cluster;
    using difference_type = std::ptrdiff_t;
    Iterator() = default;
    explicit Iterator(std::string_view text) : text_(text) {
      if (!text.empty()) cluster_ = ClusterAt(text, 0);
    }
    const Cluster& operator*() const { return cluster_; }
    const Cluster* operator->() const { return &cluster_; }
    Iterator& operator++() {
      const std::size_t at = cluster_.end;
      cluster_ = at < text_.size() ? ClusterAt(text_, at) : Cluster{at, at, 0};
      return *this;
    }
    Iterator operator++(int) {
      Iterator was = *this;
      ++*this;
      return was;
    }
    bool operator==(std::default_sentinel_t) const { return cluster_.begin >= text_.size(); }

   private:
    std::string_view text_;
    Cluster cluster_;
  };

  Iterator begin() const { return Iterator(text_); }
  std::default_sentinel_t end() const { return {}; }

 private:
  std::string_view text_;
};

}  // namespace tabulon
