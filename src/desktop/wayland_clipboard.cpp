#include "desktop/wayland_clipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>

#include "desktop/desktop.h"
#include "files/byte_io.h"

namespace tabulon {

namespace {

// The data-control protocol's interfaces: each request and event in the
// protocol's order, with the interfaces of its object arguments.
extern const wl_interface kManager;
extern const wl_interface kDevice;
extern const wl_interface kSource;
extern const wl_interface kOffer;

const wl_interface* kNone[] = {nullptr, nullptr};
const wl_interface* kSourceArg[] = {&kSource};
const wl_interface* kDeviceAndSeat[] = {&kDevice, &wl_seat_interface};
const wl_interface* kOfferArg[] = {&kOffer};

const wl_message kManagerRequests[] = {
    {"create_data_source", "n", kSourceArg},
    {"get_data_device", "no", kDeviceAndSeat},
    {"destroy", "", kNone},
};
const wl_message kDeviceRequests[] = {
    {"set_selection", "?o", kSourceArg},
    {"destroy", "", kNone},
    {"set_primary_selection", "2?o", kSourceArg},
};
const wl_message kDeviceEvents[] = {
    {"data_offer", "n", kOfferArg},
    {"selection", "?o", kOfferArg},
    {"finished", "", kNone},
    {"primary_selection", "2?o", kOfferArg},
};
const wl_message kSourceRequests[] = {{"offer", "s", kNone}, {"destroy", "", kNone}};
const wl_message kSourceEvents[] = {{"send", "sh", kNone}, {"cancelled", "", kNone}};
const wl_message kOfferRequests[] = {{"receive", "sh", kNone}, {"destroy", "", kNone}};
const wl_message kOfferEvents[] = {{"offer", "s", kNone}};

const wl_interface kManager = {"zwlr_data_control_manager_v1", 2, 3, kManagerRequests, 0, nullptr};
const wl_interface kDevice = {"zwlr_data_control_device_v1", 2, 3, kDeviceRequests, 4,
                              kDeviceEvents};
const wl_interface kSource = {"zwlr_data_control_source_v1", 1, 2, kSourceRequests, 2,
                              kSourceEvents};
const wl_interface kOffer = {"zwlr_data_control_offer_v1", 1, 2, kOfferRequests, 1, kOfferEvents};

// Request numbers, in the order above.
enum : uint32_t { kCreateSource = 0, kGetDevice = 1, kManagerDestroy = 2 };
enum : uint32_t { kSetSelection = 0, kDeviceDestroy = 1 };
enum : uint32_t { kOfferForm = 0, kSourceDestroy = 1 };
enum : uint32_t { kReceive = 0, kOfferDestroy = 1 };

void Destroy(void* object, uint32_t opcode) {
  auto* proxy = static_cast<wl_proxy*>(object);
  wl_proxy_marshal_flags(proxy, opcode, nullptr, wl_proxy_get_version(proxy),
                         WL_MARSHAL_FLAG_DESTROY);
}

// The forms text is asked for and offered in: Wayland's, then the name X11
// programs use through the compositor's Xwayland bridge. (X11's STRING and
// TEXT are Latin-1 or of the owner's choosing: not this text's bytes.)
constexpr const char* kTextForms[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING"};

using Clock = std::chrono::steady_clock;

// A reader that stops reading, or a compositor that stops answering, does
// not hold this process up for longer than kAnswerTimeout.

void Done(void* data, wl_callback*, uint32_t) {
  *static_cast<bool*>(data) = true;
}
const wl_callback_listener kDoneListener = {Done};

// A round trip to the compositor, handling what it sends meanwhile; false
// when it does not answer in time or the connection fails.
bool Roundtrip(wl_display* d) {
  bool done = false;
  wl_callback* callback = wl_display_sync(d);
  wl_callback_add_listener(callback, &kDoneListener, &done);
  const Clock::time_point deadline = Clock::now() + kAnswerTimeout;
  bool ok = true;
  while (ok && !done) {
    if (wl_display_prepare_read(d) != 0) {
      ok = wl_display_dispatch_pending(d) >= 0;
      continue;
    }
    wl_display_flush(d);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd p{wl_display_get_fd(d), POLLIN, 0};
    const int polled = left.count() > 0 ? ::poll(&p, 1, static_cast<int>(left.count())) : 0;
    if (polled <= 0) {
      wl_display_cancel_read(d);
      ok = polled < 0 && errno == EINTR;
      continue;
    }
    ok = wl_display_read_events(d) >= 0 && wl_display_dispatch_pending(d) >= 0;
  }
  wl_callback_destroy(callback);
  return ok && done;
}

}  // namespace

struct WaylandClipboard::Proxies {
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  void* seat = nullptr;
  void* manager = nullptr;
  void* device = nullptr;
  std::map<void*, std::vector<std::string>> offers;  // introduced, with their forms
  void* selection = nullptr;                         // the clipboard's offer
  unsigned selections = 0;                           // changes of it seen
  bool finished = false;

  ~Proxies() {
    for (auto& [offer, forms] : offers) Destroy(offer, kOfferDestroy);
    if (device) Destroy(device, kDeviceDestroy);
    if (manager) Destroy(manager, kManagerDestroy);
    if (seat) wl_proxy_destroy(static_cast<wl_proxy*>(seat));
    if (registry) wl_registry_destroy(registry);
    if (display) wl_display_disconnect(display);
  }

  void Forget(void* offer) {
    if (!offer || !offers.erase(offer)) return;
    Destroy(offer, kOfferDestroy);
  }
};

namespace {

using Proxies = WaylandClipboard::Proxies;

template <typename Listener>
void Listen(void* object, const Listener& listener, void* data) {
  wl_proxy_add_listener(
      static_cast<wl_proxy*>(object),
      reinterpret_cast<void (**)(void)>(const_cast<void*>(static_cast<const void*>(&listener))),
      data);
}

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t version) {
  auto* p = static_cast<Proxies*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !p->seat) {
    p->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  } else if (std::strcmp(interface, kManager.name) == 0 && !p->manager) {
    p->manager = wl_registry_bind(registry, name, &kManager, std::min<uint32_t>(version, 2));
  }
}
void GlobalRemoved(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {Global, GlobalRemoved};

void OfferForm(void* data, void* offer, const char* form) {
  auto* p = static_cast<Proxies*>(data);
  if (auto it = p->offers.find(offer); it != p->offers.end()) it->second.emplace_back(form);
}
const struct {
  void (*offer)(void*, void*, const char*);
} kOfferListener = {OfferForm};

void DataOffer(void* data, void*, void* offer) {
  auto* p = static_cast<Proxies*>(data);
  p->offers[offer];
  Listen(offer, kOfferListener, p);
}
void Selection(void* data, void*, void* offer) {
  auto* p = static_cast<Proxies*>(data);
  if (p->selection != offer) p->Forget(p->selection);
  p->selection = offer;
  ++p->selections;
}
void Finished(void* data, void*) {
  static_cast<Proxies*>(data)->finished = true;
}
void PrimarySelection(void* data, void*, void* offer) {
  auto* p = static_cast<Proxies*>(data);
  if (offer != p->selection) p->Forget(offer);
}
const struct {
  void (*dataOffer)(void*, void*, void*);
  void (*selection)(void*, void*, void*);
  void (*finished)(void*, void*);
  void (*primarySelection)(void*, void*, void*);
} kDeviceListener = {DataOffer, Selection, Finished, PrimarySelection};

}  // namespace

// The source's events reach the object that owns the clipboard.
struct WaylandSourceEvents {
  static void Send(void* data, void*, const char*, int32_t fd) {
    const auto* self = static_cast<const WaylandClipboard*>(data);
    ::fcntl(fd, F_SETFL, O_NONBLOCK);
    WriteBefore(fd, self->text_, Clock::now() + kAnswerTimeout);
    ::close(fd);
  }
  static void Cancelled(void* data, void* source) {
    auto* self = static_cast<WaylandClipboard*>(data);
    Destroy(source, kSourceDestroy);
    if (self->source_ == source) self->source_ = nullptr;
  }
};

std::unique_ptr<WaylandClipboard> WaylandClipboard::Connect() {
  // A compositor that announced no data-control will not later: each read
  // (a right press asks the clipboard) spares the connection and round trip.
  static bool announced = true;
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (!announced || !name || !*name) return nullptr;  // an X11 session has no default socket
  auto p = std::make_unique<Proxies>();
  p->display = wl_display_connect(nullptr);
  if (!p->display) return nullptr;
  p->registry = wl_display_get_registry(p->display);
  wl_registry_add_listener(p->registry, &kRegistryListener, p.get());
  if (!Roundtrip(p->display)) return nullptr;
  if (!p->manager) announced = false;
  if (!p->seat || !p->manager) return nullptr;
  p->device = wl_proxy_marshal_flags(static_cast<wl_proxy*>(p->manager), kGetDevice, &kDevice,
                                     wl_proxy_get_version(static_cast<wl_proxy*>(p->manager)), 0,
                                     nullptr, p->seat);
  Listen(p->device, kDeviceListener, p.get());
  // The compositor introduces the clipboard's content at once.
  if (!Roundtrip(p->display) || p->finished) return nullptr;
  return std::unique_ptr<WaylandClipboard>(new WaylandClipboard(std::move(p)));
}

WaylandClipboard::WaylandClipboard(std::unique_ptr<Proxies> proxies) : p_(std::move(proxies)) {}

WaylandClipboard::~WaylandClipboard() {
  if (source_) Destroy(source_, kSourceDestroy);
  if (p_->display) wl_display_flush(p_->display);
}

const std::vector<std::string>& WaylandClipboard::Forms() const {
  static const std::vector<std::string> none;
  const auto it = p_->offers.find(p_->selection);
  return it == p_->offers.end() ? none : it->second;
}

bool WaylandClipboard::Offers(std::string_view form) const {
  const auto& forms = Forms();
  return std::find(forms.begin(), forms.end(), form) != forms.end();
}

std::string WaylandClipboard::TextForm() const {
  for (const char* form : kTextForms) {
    if (Offers(form)) return form;
  }
  return {};
}

int WaylandClipboard::Receive(std::string_view form) {
  if (!Offers(form)) return -1;
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) return -1;
  const std::string name(form);
  auto* offer = static_cast<wl_proxy*>(p_->selection);
  wl_proxy_marshal_flags(offer, kReceive, nullptr, wl_proxy_get_version(offer), 0, name.c_str(),
                         pipe[1]);
  ::close(pipe[1]);
  if (!Flush()) {
    ::close(pipe[0]);
    return -1;
  }
  return pipe[0];
}

FormRead WaylandClipboard::ReadForm(std::string_view form, std::string& out, std::size_t limit,
                                    std::chrono::milliseconds patience) {
  const int fd = Receive(form);
  if (fd < 0) return FormRead::NoText;
  const ReadOutcome read = ReadAllBytes(fd, out, limit, patience);
  ::close(fd);
  switch (read) {
    case ReadOutcome::Ok:
      return FormRead::Text;
    case ReadOutcome::TooLarge:
      return FormRead::TooLarge;
    case ReadOutcome::Failed:
    case ReadOutcome::TimedOut:
      break;
  }
  return FormRead::NoAnswer;
}

bool WaylandClipboard::Own(std::string utf8) {
  text_ = std::move(utf8);
  if (source_) Destroy(source_, kSourceDestroy);
  auto* manager = static_cast<wl_proxy*>(p_->manager);
  source_ = wl_proxy_marshal_flags(manager, kCreateSource, &kSource, wl_proxy_get_version(manager),
                                   0, nullptr);
  static const struct {
    void (*send)(void*, void*, const char*, int32_t);
    void (*cancelled)(void*, void*);
  } kSourceListener = {WaylandSourceEvents::Send, WaylandSourceEvents::Cancelled};
  Listen(source_, kSourceListener, this);
  for (const char* form : kTextForms) {
    auto* source = static_cast<wl_proxy*>(source_);
    wl_proxy_marshal_flags(source, kOfferForm, nullptr, wl_proxy_get_version(source), 0, form);
  }
  auto* device = static_cast<wl_proxy*>(p_->device);
  wl_proxy_marshal_flags(device, kSetSelection, nullptr, wl_proxy_get_version(device), 0, source_);
  // A compositor that does not answer may or may not have taken the text:
  // either way this process does not count on owning the clipboard.
  if (!Roundtrip(p_->display) && source_) {
    Destroy(source_, kSourceDestroy);
    source_ = nullptr;
  }
  return source_ != nullptr;
}

unsigned WaylandClipboard::Changes() const {
  return p_->selections;
}

int WaylandClipboard::Descriptor() const {
  return wl_display_get_fd(p_->display);
}

bool WaylandClipboard::Dispatch() {
  wl_display* d = p_->display;
  while (wl_display_prepare_read(d) != 0) {
    if (wl_display_dispatch_pending(d) < 0) return false;
  }
  if (wl_display_read_events(d) < 0) return false;
  return wl_display_dispatch_pending(d) >= 0 && Flush() && !p_->finished;
}

bool WaylandClipboard::Flush() {
  for (;;) {
    if (wl_display_flush(p_->display) >= 0) return true;
    if (errno != EAGAIN) return false;
    pollfd p{Descriptor(), POLLOUT, 0};
    if (::poll(&p, 1, static_cast<int>(kAnswerTimeout.count())) <= 0) return false;
  }
}

}  // namespace tabulon
