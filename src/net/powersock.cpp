#include "net/powersock.h"

#include "net/socket_errors_rules.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <cstring>
#include <utility>

namespace {

constexpr long kSocketEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
constexpr int kWouldBlock = WSAEWOULDBLOCK;

std::string VersionText(WORD version) {
    return std::to_string(HIBYTE(version)) + "." + std::to_string(LOBYTE(version));
}

// The text of a fixed-size field of the start-up record, which need not end in NUL.
std::string FieldText(const char* field, std::size_t size) {
    std::size_t length = 0;
    while (length < size && field[length] != '\0') {
        ++length;
    }
    return std::string(field, length);
}

} // namespace

// The hidden window the socket library posts its notifications to.
class TPowersock::SocketWindow : public TWindow {
  public:
    explicit SocketWindow(TPowersock& owner) : owner_(owner) {
        CreateWindowHandle({L"PsockWindowClass", 0, false}, L"", WS_POPUP, WS_EX_TOOLWINDOW, {},
                           nullptr);
    }
    using TWindow::Handle;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message < SocketEventMessage) {
            return DefaultHandler(message, wParam, lParam);
        }
        try {
            owner_.Dispatch(message, wParam, lParam);
        } catch (...) {
            owner_.NotificationFailed();
        }
        return 0;
    }

    TPowersock& owner_;
};

// One asynchronous name lookup: the system writes its answer into the buffer
// whenever it finishes, so the record lives until its message has arrived.
struct TPowersock::Lookup {
    HANDLE task = nullptr;
    bool answered = false;
    bool abandoned = false; // given up by its operation; freed when the answer comes
    std::string name;
    std::array<char, MAXGETHOSTSTRUCT> hostEntry{};
};

TPowersock::TPowersock() {
    StatusMessage(8, "Create");
    window_ = std::make_unique<SocketWindow>(*this);
    timer_.SetEnabled(false);
    timer_.SetOnTimer([this](TThreadTimer*) { TimerExpired(); });
    InitWinsock();
}

TPowersock::~TPowersock() {
    StatusMessage(8, "Destroy");
    Abort();
    Cancel();
    window_.reset();
    destroying_ = true;
    try {
        CloseSocket();
    } catch (...) {
        // The socket goes with the component either way; the failure is told.
        ReportCurrentException();
    }
    // A lookup still under way writes into its record after this; leave it that memory.
    for (auto& lookup : lookups_) {
        static_cast<void>(lookup.release());
    }
    if (started_) {
        WSACleanup();
    }
}

void TPowersock::InitWinsock() {
    StatusMessage(8, "Initializing Winsock");
    // The socket library counts its start-ups itself: it stays started until
    // the last component has cleaned up.
    if (WSAStartup(MAKEWORD(1, 1), &startupData_) != 0) {
        throw ESockError("Initializaton of windows sockets failed");
    }
    started_ = true;
    infoList_ = {
        "Version= " + VersionText(startupData_.wVersion),
        "High Version= " + VersionText(startupData_.wHighVersion),
        "Description= " + FieldText(startupData_.szDescription, sizeof startupData_.szDescription),
        "System= " + FieldText(startupData_.szSystemStatus, sizeof startupData_.szSystemStatus),
        "Max Sockets= " + std::to_string(startupData_.iMaxSockets),
        "Max Udp pack size= " + std::to_string(startupData_.iMaxUdpDg),
    };
    socket_ = MakeSocket(true);
    if (socket_ == INVALID_SOCKET) {
        started_ = false;
        WSACleanup();
        throw ESockError("Initializaton of windows sockets failed");
    }
}

SOCKET TPowersock::MakeSocket(bool linger) {
    SOCKET made = socket(AF_INET, SOCK_STREAM, linger ? IPPROTO_TCP : 0);
    if (made == INVALID_SOCKET) {
        return made;
    }
    if (linger) {
        // A close resets the connection at once instead of lingering.
        const struct linger option { 1, 0 };
        setsockopt(made, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option),
                   sizeof option);
    }
    if (WSAAsyncSelect(made, window_->Handle(), SocketEventMessage, kSocketEvents) != 0) {
        closesocket(made);
        return INVALID_SOCKET;
    }
    return made;
}

void TPowersock::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    const int error = WSAGETSELECTERROR(lParam);
    if (message == SocketEventMessage) {
        if (static_cast<SOCKET>(wParam) != socket_) {
            return;
        }
        eventOk_ = error == 0;
        const long event = WSAGETSELECTEVENT(lParam);
        readNotified_ = readNotified_ || event == FD_READ || event == FD_CLOSE;
        switch (event) {
        case FD_READ:
            if (OnDataReady) {
                OnDataReady(this);
            }
            break;
        case FD_ACCEPT:
            connected_ = true;
            if (OnAccept) {
                OnAccept(this);
            }
            break;
        case FD_CONNECT:
            if (eventOk_) {
                connected_ = true;
                if (OnConnect) {
                    OnConnect(this);
                }
            }
            break;
        case FD_CLOSE:
            if (!DataAvailable()) {
                // A reset is no end of the data: the receive that comes next tells so.
                const int peekError = WSAGetLastError();
                closeError_ = error != 0 ? error : peekError != WSAEWOULDBLOCK ? peekError : 0;
                CloseSocket();
            }
            break;
        default:
            break;
        }
    } else if (message == LookupDoneMessage) {
        const auto task = reinterpret_cast<HANDLE>(wParam);
        for (auto it = lookups_.begin(); it != lookups_.end(); ++it) {
            if ((*it)->task != task) {
                continue;
            }
            if ((*it)->abandoned) {
                lookups_.erase(it);
            } else {
                (*it)->answered = true;
                eventOk_ = error == 0;
                woken_ = true;
            }
            return;
        }
    }
}

void TPowersock::StatusMessage(int level, const std::string& text) {
    if (level > ReportLevel) {
        return;
    }
    status_ = text;
    if (!destroying_ && OnStatus) {
        try {
            OnStatus(this, status_);
        } catch (...) {
            // A status report must not change the course of the operation,
            // which may be unwinding already; the application tells the failure.
            ReportCurrentException();
        }
    }
}

void TPowersock::ProcessPendingMessages() {
    bool quitting = false;
    {
        struct Depth {
            int& waits;
            explicit Depth(int& w) : waits(++w) {}
            ~Depth() { --waits; }
        } depth(waits_);
        if (Application) {
            Application->ProcessMessages();
            quitting = Application->Terminated();
        } else {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(message.wParam));
                    quitting = true;
                    break;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    if (notificationFailure_) {
        std::rethrow_exception(std::exchange(notificationFailure_, nullptr));
    }
    // The program is ending: no transfer holds it. The quit stays queued for
    // the loops further out.
    if (quitting) {
        Cancel();
    }
}

void TPowersock::NotificationFailed() noexcept {
    // The operation that waits for the notification fails with it; between
    // operations the application tells it.
    if (waits_ > 0 && !notificationFailure_) {
        notificationFailure_ = std::current_exception();
    } else {
        ReportCurrentException();
    }
}

void TPowersock::WaitForMessages() {
    // The time-out timer and the socket's notifications are messages too, so
    // the bound only guards against a timer the system could not set.
    const DWORD bound = TimeOut > 0 ? static_cast<DWORD>(TimeOut) : INFINITE;
    MsgWaitForMultipleObjectsEx(0, nullptr, bound, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    lastMessageCheck_ = GetTickCount();
    ProcessPendingMessages();
}

void TPowersock::ProcessMessagesNowAndThen() {
    const DWORD now = GetTickCount();
    if (now - lastMessageCheck_ >= kMessageCheckInterval) {
        lastMessageCheck_ = now;
        ProcessPendingMessages();
    }
}

void TPowersock::TimerOn() {
    StatusMessage(8, "Timer On");
    timedOut_ = false;
    if (TimeOut < 0) {
        throw Exception("Range check error");
    }
    lastActivity_ = GetTickCount();
    bytesSinceActivity_ = 0;
    readNotified_ = false;
    armedTimeOut_ = TimeOut;
    timer_.SetInterval(static_cast<UINT>(TimeOut));
    // Off and on again: every arming starts a fresh period of silence. Without
    // a time-out there is no system timer to restart.
    if (TimeOut != 0) {
        timer_.SetEnabled(false);
    }
    timer_.SetEnabled(true);
}

void TPowersock::TimerExpired() {
    // Something unread tells of a program busy elsewhere, not of a silent
    // server: the period starts afresh.
    if (timer_.Enabled() && UnreadFromPeer()) {
        lastActivity_ = GetTickCount();
    }
    // The captures do not restart the system timer for every chunk, they only
    // note the time; a period that had data in it continues for what is left.
    const DWORD silence = GetTickCount() - lastActivity_;
    if (timer_.Enabled() && TimeOut > 0 && silence < static_cast<DWORD>(TimeOut)) {
        timer_.SetEnabled(false);
        timer_.SetInterval(static_cast<UINT>(TimeOut) - silence);
        timer_.SetEnabled(true);
        return;
    }
    TimerTriggered();
}

bool TPowersock::UnreadFromPeer() {
    char byte = 0;
    // 0: the peer's close waits to be read.
    return readNotified_ || recv(socket_, &byte, 1, MSG_PEEK) >= 0;
}

void TPowersock::TimerOff() {
    StatusMessage(8, "Timer Off");
    timer_.SetEnabled(false);
}

void TPowersock::TimerTriggered() {
    StatusMessage(8, "Timer Triggered");
    TimerOff();
    timedOut_ = true;
    woken_ = true;
    Abort();
}

void TPowersock::Abort() {
    StatusMessage(8, "Abort");
    Cancel();
}

void TPowersock::Cancel() {
    StatusMessage(8, "Canceling");
    canceled_ = true;
}

std::string TPowersock::ErrorMessageText(int code) {
    StatusMessage(8, "Looking Up Error Message");
    return SocketErrorText(code);
}

void TPowersock::CheckSocketError(int ignored) {
    const int error = WSAGetLastError();
    lastErrorNo_ = error;
    if (error != ignored && error > 10000) {
        const std::string text = ErrorMessageText(error);
        if (OnSocketError) {
            OnSocketError(this, error, text);
        }
        throw ESockError(text);
    }
}

void TPowersock::ResolveHost() {
    StatusMessage(8, "Resolve Host");
    const std::string& name = Proxy.empty() ? Host : Proxy;
    remote_.sin_addr.s_addr = inet_addr(name.c_str());
    if (remote_.sin_addr.s_addr != INADDR_NONE) {
        return;
    }
    if (const auto answer = seams::LookUpHostForTest(name)) {
        remote_.sin_addr.s_addr = inet_addr(answer->c_str());
        if (remote_.sin_addr.s_addr == INADDR_NONE) {
            throw ESockError("Host Lookup Failed");
        }
        return;
    }
    remote_.sin_addr.s_addr = 0;
    TimerOn();
    woken_ = false;
    auto lookup = std::make_unique<Lookup>();
    lookup->name = name;
    lookup->task =
        WSAAsyncGetHostByName(window_->Handle(), LookupDoneMessage, lookup->name.c_str(),
                              lookup->hostEntry.data(), static_cast<int>(lookup->hostEntry.size()));
    if (!lookup->task) {
        TimerOff();
        throw ESockError("Host Lookup Failed");
    }
    Lookup& current = *lookups_.emplace_back(std::move(lookup));
    try {
        while (!current.answered && !timedOut_ && !canceled_) {
            WaitForMessages();
        }
    } catch (...) {
        // A notification failed meanwhile: the lookup is given up with the operation.
        TimerOff();
        if (current.answered) {
            lookups_.pop_back();
        } else {
            current.abandoned = true;
        }
        throw;
    }
    TimerOff();
    std::unique_ptr<Lookup> answered;
    if (current.answered) {
        answered = std::move(lookups_.back());
        lookups_.pop_back();
    } else {
        current.abandoned = true;
    }
    if (timedOut_) {
        throw ESockError("Host Lookup Timed Out");
    }
    if (canceled_) {
        throw ESockError("Host Lookup Canceled");
    }
    if (!answered || !eventOk_) {
        throw ESockError("Host Lookup Failed");
    }
    const auto* entry = reinterpret_cast<const hostent*>(answered->hostEntry.data());
    if (!entry->h_addr_list || !entry->h_addr_list[0]) {
        throw ESockError("Host Lookup Failed");
    }
    std::memcpy(&remote_.sin_addr, entry->h_addr_list[0], 4);
    if (OnHostResolved) {
        OnHostResolved(this);
    }
}

void TPowersock::Connect() {
    StatusMessage(8, "Connecting");
    canceled_ = false;
    closeError_ = 0;
    if (connected_) {
        throw ESockError("Already connected");
    }
    for (int retries = 0;; ++retries) {
        try {
            ResolveHost();
        } catch (const ESockError& failure) {
            const std::string text = failure.what();
            if (text == "Host Lookup Timed Out" || text == "Host Lookup Canceled") {
                throw;
            }
        }
        if (remote_.sin_addr.s_addr != 0) {
            break;
        }
        bool handled = false;
        if (retries == 0 && OnInvalidHost) {
            OnInvalidHost(this, handled);
        }
        if (!handled) {
            throw ESockError("Null Remote Address");
        }
    }
    remote_.sin_family = AF_INET;
    remote_.sin_port = htons(static_cast<u_short>(Proxy.empty() ? Port : ProxyPort));
    woken_ = false;
    eventOk_ = true;
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&remote_), sizeof remote_) ==
        SOCKET_ERROR) {
        CheckSocketError(kWouldBlock);
    }
    TimerOn();
    try {
        while (!connected_ && !timedOut_ && !canceled_ && eventOk_) {
            WaitForMessages();
        }
    } catch (...) {
        TimerOff();
        throw;
    }
    TimerOff();
    if (!timedOut_ && !canceled_ && eventOk_) {
        return;
    }
    if (OnConnectionFailed) {
        OnConnectionFailed(this);
    }
    throw ESockError(timedOut_   ? "Connection Timed out"
                     : canceled_ ? "Connection Canceled"
                                 : "Connection Failed");
}

void TPowersock::Disconnect() {
    StatusMessage(8, "Disconnecting");
    CloseSocket();
}

void TPowersock::CloseSocket() {
    StatusMessage(4, "Request Close Socket");
    connected_ = false;
    if (socket_ == INVALID_SOCKET) {
        return;
    }
    if (closesocket(socket_) == SOCKET_ERROR) {
        CheckSocketError(kWouldBlock);
        return;
    }
    socket_ = INVALID_SOCKET;
    // Notifications of the closed socket may still wait in the queue, and its
    // successor may get the same handle value: they must never reach it.
    if (window_) {
        DiscardPendingMessages(window_->Handle(), SocketEventMessage, SocketEventMessage);
    }
    if (destroying_) {
        return;
    }
    // Always one unconnected socket ready for the next Connect.
    socket_ = MakeSocket(false);
    if (OnDisconnect) {
        OnDisconnect(this);
    }
}

bool TPowersock::DataAvailable() {
    StatusMessage(8, "Data Available");
    char byte = 0;
    return recv(socket_, &byte, 1, MSG_PEEK) >= 1;
}

SOCKET TPowersock::Accept() {
    StatusMessage(4, "Accepting");
    while (!woken_ && !canceled_) {
        WaitForMessages();
    }
    if (canceled_) {
        throw ESockError("Accepting Canceled");
    }
    if (!eventOk_) {
        throw ESockError("Error creating Data Connection");
    }
    sockaddr_in peer{};
    int length = sizeof peer;
    const SOCKET accepted = accept(socket_, reinterpret_cast<sockaddr*>(&peer), &length);
    if (accepted != INVALID_SOCKET) {
        WSAAsyncSelect(accepted, window_->Handle(), SocketEventMessage, kSocketEvents);
        remote_ = peer;
    }
    RaiseIfCanceled("Socket send aborted");
    return accepted;
}

void TPowersock::RaiseIfCanceled(const char* text) {
    if (canceled_) {
        canceled_ = false;
        throw EAbortError(text);
    }
}
