// The system clipboard as the program sees it: inside text in, and text out
// that stays there after the program ends.
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QScopedValueRollback>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "desktop/clipboard_holder.h"
#include "desktop/desktop.h"
#include "desktop/wayland_clipboard.h"
#include "desktop/x11_clipboard.h"
#include "document/inside_text.h"
#include "files/text_file.h"
#include "table/rich_cells.h"

namespace tabulon {

namespace {

// Set while this process puts text there itself, having no holder for it.
bool keepingOwnText = false;

// The most of one clipboard form that is read. The text itself is held to
// the load limit (ReadForms); a richer form wraps its cells in markup and
// may be several times larger than the text they make.
constexpr std::size_t kMaxClipboardUtf8 = 4 * kMaxLoadBytes;

// The clipboard's text as the toolkit passes it on, in the formats it reads
// for text: the bytes themselves from this process's own text and where the
// platform hands them over (Wayland), else (X11 Latin-1 text) re-encoded.
std::string ToolkitClipboardUtf8(const QClipboard* clipboard) {
  const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
  for (const char* format : {"text/plain;charset=utf-8", "text/plain"}) {
    if (data && data->hasFormat(QLatin1String(format))) {
      return data->data(QLatin1String(format)).toStdString();
    }
  }
  return {};
}

// The clipboard's forms as the bytes its owner gives: through data-control
// where the compositor announces it, over an X11 connection of the
// program's own where another X11 program owns it, otherwise as the toolkit
// passes them on.
class ClipboardForms {
 public:
  // The side to read: where the compositor lets a program without the focus
  // at it, the Wayland clipboard, the desktop's own, unless it is empty.
  enum class Side { Desktop, X11 };
  explicit ClipboardForms(Side side = Side::Desktop) : clipboard_(QGuiApplication::clipboard()) {
    if (!clipboard_ || clipboard_->ownsClipboard()) return;
    if (side == Side::Desktop) {
      wayland_ = WaylandClipboard::Connect();
      // An offer in X11's own forms is the compositor passing on an X11
      // program's copy, which may not answer while no X11 window has the
      // focus: that copy is read where it is.
      if (wayland_ && (wayland_->Forms().empty() || wayland_->Offers("TARGETS"))) {
        wayland_.reset();
      }
    }
    if (!wayland_ && QGuiApplication::platformName() == QLatin1String("xcb")) {
      x11_ = std::make_unique<X11Clipboard>(kMaxClipboardUtf8);
    }
  }
  bool Wayland() const { return wayland_ != nullptr; }
  // Whether another X11 program than the compositor's bridge owns it.
  bool X11ProgramOwns() const { return x11_ && x11_->ProgramOwns(); }

  // The plain text, UTF-8 as the desktop speaks; empty when there is none,
  // the owner does not answer in time or the text is far too large.
  std::string Plain(ClipboardRead::Status& status);

  // Another form's bytes, where the owner offers it.
  std::optional<std::string> Form(std::string_view type) {
    if (wayland_) {
      std::string bytes;
      if (wayland_->ReadForm(type, bytes, kMaxClipboardUtf8, kAnswerTimeout) != FormRead::Text) {
        return std::nullopt;
      }
      return bytes;
    }
    if (x11_) {
      std::string bytes;
      if (!x11_->Offers(type) || x11_->Read(type, bytes) != FormRead::Text) return std::nullopt;
      return bytes;
    }
    const QMimeData* data = clipboard_ ? clipboard_->mimeData(QClipboard::Clipboard) : nullptr;
    const QString mime = QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size()));
    if (!data || !data->hasFormat(mime)) return std::nullopt;
    return data->data(mime).toStdString();
  }

 private:
  const QClipboard* clipboard_;
  std::unique_ptr<WaylandClipboard> wayland_;
  std::unique_ptr<X11Clipboard> x11_;
};

std::string ClipboardForms::Plain(ClipboardRead::Status& status) {
  if (!clipboard_) return {};
  std::string bytes;
  const FormRead read =
      wayland_ ? wayland_->ReadForm(wayland_->TextForm(), bytes, kMaxClipboardUtf8, kAnswerTimeout)
      : x11_   ? x11_->Read("UTF8_STRING", bytes)
               : FormRead::Unavailable;
  switch (read) {
    case FormRead::Text:
      // Some X11 owners end the text with a NUL, as C strings do.
      if (x11_ && !bytes.empty() && bytes.back() == '\0') bytes.pop_back();
      return bytes;
    case FormRead::NoAnswer:
      status = ClipboardRead::Status::NoAnswer;
      return {};
    case FormRead::TooLarge:
      status = ClipboardRead::Status::TooLarge;
      return {};
    case FormRead::NoText:
      if (wayland_) return {};
      break;  // the toolkit also asks an X11 owner for Latin-1 STRING text
    case FormRead::Unavailable:
      break;
  }
  return ToolkitClipboardUtf8(clipboard_);
}

// The text and, with `richer`, the cells of the richer forms of one side.
ClipboardRead ReadForms(ClipboardForms& forms, bool richer) {
  ClipboardRead read;
  const std::string utf8 = forms.Plain(read.status);
  // A text larger than a file the preview loads is refused as that file is.
  const auto tooLarge = [](std::string_view text) { return text.size() > kMaxLoadBytes; };
  const std::string_view plain = WithoutUtf8Bom(utf8);
  if (read.status == ClipboardRead::Status::Ok && tooLarge(plain)) {
    read.status = ClipboardRead::Status::TooLarge;
  }
  if (read.status != ClipboardRead::Status::Ok) return read;
  const std::optional<std::string> cells =
      richer ? RicherCells(plain, [&](std::string_view type) { return forms.Form(type); })
             : std::nullopt;
  const std::string_view text = cells ? std::string_view(*cells) : plain;
  if (tooLarge(text)) {
    read.status = ClipboardRead::Status::TooLarge;
    return read;
  }
  read.cells = cells.has_value();
  read.text = InsideFromUtf8(text, read.replaced);
  return read;
}

ClipboardRead ReadClipboard(bool richer) {
  ClipboardForms forms;
  ClipboardRead read = ReadForms(forms, richer);
  // The paste item's check needs no cells.
  if (!richer || !forms.Wayland()) return read;
  return WithX11Cells(std::move(read), [&]() -> std::optional<ClipboardRead> {
    ClipboardForms x11(ClipboardForms::Side::X11);
    if (!x11.X11ProgramOwns()) return std::nullopt;
    return ReadForms(x11, richer);
  });
}

}  // namespace

ClipboardRead ReadSystemClipboard() {
  return ReadClipboard(true);
}

// Only the plain text: asked at every right press on a cell, it needs no
// richer form fetched and parsed.
std::string SystemClipboardText() {
  return ReadClipboard(false).text;
}

bool ClipboardNeedsFocus() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool PutSystemClipboardText(const std::string& inside) {
  const std::string utf8 = Utf8FromInside(inside);
  if (HandToClipboardHolder(utf8)) return true;
  const QScopedValueRollback keeping(keepingOwnText, true);
  QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
  return false;
}

void HandOverOwnCopies(QObject* context) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QObject::connect(clipboard, &QClipboard::changed, context, [clipboard](QClipboard::Mode mode) {
    // The toolkit reports a control's copy at once, while this process owns
    // the clipboard; it reports another owner's text only after it has read
    // that this process lost it.
    if (mode != QClipboard::Clipboard || keepingOwnText || !clipboard->ownsClipboard()) return;
    if (const QMimeData* data = clipboard->mimeData(); data && data->hasText()) {
      HandToClipboardHolder(data->text().toStdString());
    }
  });
}

void KeepUnheldText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!ClipboardNeedsFocus() || !clipboard->ownsClipboard()) return;
  std::fputs(
      "tabulon: no Xwayland to hand the clipboard to; keeping it, without a window, "
      "until another program copies\n",
      stderr);
  QEventLoop loop;
  QObject::connect(clipboard, &QClipboard::changed, &loop, [&] {
    if (!clipboard->ownsClipboard()) loop.quit();
  });
  loop.exec();
}

}  // namespace tabulon
