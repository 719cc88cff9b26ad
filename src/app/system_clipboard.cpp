#include "app/system_clipboard.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QScopedValueRollback>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include <algorithm>
#include <optional>
#include <vector>

#include "app/clipboard_holder.h"
#include "app/wayland_clipboard.h"
#include "files/text_file.h"
#include "table/rich_cells.h"
#include "widgets/widgets.h"

namespace tabulon {

namespace {

// Set while this process puts text there itself, having no holder for it.
bool keepingOwnText = false;

using Clock = std::chrono::steady_clock;

// How long the clipboard's owner has to answer (and, for a large text, to
// send each chunk): a live owner answers in milliseconds, and one that hangs
// should cost no more than a moment. The toolkit waits 5 s per request.
constexpr std::chrono::milliseconds kAnswerTimeout{2000};

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XcbReply<T> Reply(T* reply) {
  return XcbReply<T>(reply, &std::free);
}

// UTF-8 never takes fewer bytes than its CP932 form, and at most four times
// as many: text up to the load limit is always taken, text over four times
// it never, and what lies between is measured.
constexpr std::size_t kMaxClipboardUtf8 = 4 * kMaxLoadBytes;

// The CLIPBOARD selection as UTF8_STRING, over a connection of its own: the
// bytes exactly as the owner sends them, so that the codec sees bad UTF-8
// as the filter sees it (the toolkit would first decode it into a string,
// one U+FFFD per bad byte). Large texts come in INCR chunks.
class X11Clipboard {
 public:
  X11Clipboard() : c_(xcb_connect(nullptr, nullptr)) {}
  ~X11Clipboard() { xcb_disconnect(c_); }  // the window goes with the connection
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  // The clipboard in the form `target` (UTF8_STRING: its plain text).
  FormRead Read(std::string_view target, std::string& out) {
    if (xcb_connection_has_error(c_)) return FormRead::Unavailable;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    const xcb_atom_t clipboard = Atom("CLIPBOARD"), type = Atom(target);
    const xcb_atom_t incr = Atom("INCR"), property = Atom("TABULON_CLIPBOARD");
    if (!screen || !clipboard || !type || !incr || !property) return FormRead::Unavailable;
    const auto owner =
        Reply(xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, clipboard), nullptr));
    if (!owner || owner->owner == XCB_NONE) return FormRead::NoText;

    if (window_ == 0) {
      window_ = xcb_generate_id(c_);
      const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
      xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                        XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK,
                        &events);
    }
    xcb_convert_selection(c_, window_, clipboard, type, property, XCB_CURRENT_TIME);
    xcb_flush(c_);
    const auto notify = Wait(XCB_SELECTION_NOTIFY, [&](const xcb_generic_event_t* e) {
      return reinterpret_cast<const xcb_selection_notify_event_t*>(e)->requestor == window_;
    });
    if (!notify) return FormRead::NoAnswer;
    if (reinterpret_cast<const xcb_selection_notify_event_t*>(notify.get())->property == XCB_NONE) {
      return FormRead::NoText;  // not on offer in that form
    }
    // Taking the property deletes it, which asks an INCR owner for a chunk.
    const auto first = Take(property);
    if (!first) return FormRead::NoAnswer;
    if (first->type != incr) {
      Append(out, first.get());
      return FormRead::Text;
    }
    for (;;) {
      const auto chunkReady = Wait(XCB_PROPERTY_NOTIFY, [&](const xcb_generic_event_t* e) {
        const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(e);
        return p->window == window_ && p->atom == property && p->state == XCB_PROPERTY_NEW_VALUE;
      });
      if (!chunkReady) return FormRead::NoAnswer;
      const auto chunk = Take(property);
      if (!chunk) return FormRead::NoAnswer;
      if (xcb_get_property_value_length(chunk.get()) == 0) return FormRead::Text;
      Append(out, chunk.get());
      if (out.size() > kMaxClipboardUtf8) return FormRead::TooLarge;
    }
  }

  // Whether a program owns the clipboard, not the compositor passing the
  // Wayland one on.
  bool ProgramOwns() {
    return !xcb_connection_has_error(c_) && !CompositorOwnsX11Clipboard(c_);
  }

  // Whether the owner offers the form `target`, by its list of targets.
  bool Offers(std::string_view target) {
    if (!targets_) {
      std::string list;
      targets_.emplace();
      if (Read("TARGETS", list) == FormRead::Text) {
        for (std::size_t at = 0; at + 4 <= list.size(); at += 4) {
          xcb_atom_t atom;
          std::memcpy(&atom, list.data() + at, 4);
          targets_->push_back(atom);
        }
      }
    }
    const xcb_atom_t atom = Atom(target);
    return atom && std::find(targets_->begin(), targets_->end(), atom) != targets_->end();
  }

 private:
  xcb_atom_t Atom(std::string_view name) {
    const auto reply = Reply(xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(name.size()), name.data()), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  }

  XcbReply<xcb_get_property_reply_t> Take(xcb_atom_t property) {
    return Reply(xcb_get_property_reply(
        c_,
        xcb_get_property(c_, 1, window_, property, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
        nullptr));
  }

  static void Append(std::string& out, xcb_get_property_reply_t* reply) {
    out.append(static_cast<const char*>(xcb_get_property_value(reply)),
               static_cast<std::size_t>(xcb_get_property_value_length(reply)));
  }

  // The next event of `type` that `wanted` accepts, within the owner's time
  // to answer (counted afresh for each, as an INCR owner sends chunk by
  // chunk); empty when none comes.
  template <typename Wanted>
  XcbReply<xcb_generic_event_t> Wait(uint8_t type, Wanted wanted) {
    const Clock::time_point deadline = Clock::now() + kAnswerTimeout;
    for (;;) {
      while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
        auto event = Reply(e);
        if ((e->response_type & 0x7F) == type && wanted(e)) return event;
      }
      if (xcb_connection_has_error(c_)) return Reply<xcb_generic_event_t>(nullptr);
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) return Reply<xcb_generic_event_t>(nullptr);
      pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
        return Reply<xcb_generic_event_t>(nullptr);
      }
    }
  }

  xcb_connection_t* c_;
  xcb_window_t window_ = 0;
  std::optional<std::vector<xcb_atom_t>> targets_;
};

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
      x11_ = std::make_unique<X11Clipboard>();
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
  const auto tooLarge = [](std::string_view text) {
    return text.size() > kMaxLoadBytes && Cp932Length(text) > kMaxLoadBytes;
  };
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
  read.text = Utf8ToCp932(text, read.replaced);
  return read;
}

ClipboardRead ReadClipboard(bool richer) {
  ClipboardForms forms;
  ClipboardRead read = ReadForms(forms, richer);
  // Compositors that pass the clipboard between Wayland and X11 programs
  // only while an X11 window has the focus keep an X11 program's copy made
  // without it (a script's) from Wayland: where the Wayland text is a
  // single cell, cells an X11 program holds are taken instead. The paste
  // item's check needs no cells.
  if (!richer || !forms.Wayland() || read.status != ClipboardRead::Status::Ok ||
      read.text.empty() || read.cells || HoldsCells(read.text)) {
    return read;
  }
  ClipboardForms x11(ClipboardForms::Side::X11);
  if (!x11.X11ProgramOwns()) return read;
  ClipboardRead other = ReadForms(x11, richer);
  const bool cells = other.cells || HoldsCells(other.text);
  return other.status == ClipboardRead::Status::Ok && cells ? other : read;
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

bool PutSystemClipboardText(const std::string& cp932) {
  const std::string utf8 = Cp932ToUtf8(cp932);
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
