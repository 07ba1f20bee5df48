#pragma once
// TPowersock: a TCP client socket with blocking-style operations on the
// user-interface thread. The socket library posts its notifications to a
// hidden window of the component; while an operation waits, the thread sleeps
// until a message arrives (a notification, the time-out timer, the user's
// input), handles every waiting message, and looks again. So the program
// stays responsive, Cancel from any event handler ends the wait at once, and
// a silent server costs no processor time.
#include "net/psock_timer.h"
#include "net/sock_exceptions.h"
#include "toolkit/window.h"

#include <winsock.h>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

// Notification messages of the socket library to the hidden window.
constexpr UINT SocketEventMessage = WM_USER + 101;
constexpr UINT LookupDoneMessage = WM_USER + 102;

// The transfer buffer: peeks, send copies.
constexpr std::size_t kIoBufferSize = 65536;
// The captures receive into a larger block of their own, and a file gets it
// whole: under an emulation layer every receive and write has a fixed price.
constexpr std::size_t kCaptureBlockSize = 1 << 20;
// During a transfer the message queue is looked at every this many
// milliseconds rather than after every chunk, as each look is a call into the
// system; a Cancel from a timer or the user's input still lands at once.
// Every wait looks at it too.
constexpr DWORD kMessageCheckInterval = 10;
// A capture that brings less than this in a whole TimeOut is as silent as one
// that brings nothing: a server may not hold a transfer with a trickle.
constexpr std::size_t kLeastBytesPerTimeOut = 1024;

class TPowersock {
  public:
    using TNotifyEvent = std::function<void(TPowersock* sender)>;

    TPowersock();
    virtual ~TPowersock();
    TPowersock(const TPowersock&) = delete;
    TPowersock& operator=(const TPowersock&) = delete;

    // Published.
    std::string Host;
    int Port = 0;
    // Milliseconds of silence a wait accepts; 0 waits until done or Cancel.
    // A capture's trickle below kLeastBytesPerTimeOut counts as silence.
    int TimeOut = 0;
    // Highest status level reported through OnStatus.
    int ReportLevel = 0;
    std::string Proxy; // empty: direct connection
    int ProxyPort = 0;

    TNotifyEvent OnConnect;
    TNotifyEvent OnDisconnect;
    TNotifyEvent OnConnectionFailed;
    TNotifyEvent OnHostResolved;
    TNotifyEvent OnPacketRecvd;
    TNotifyEvent OnPacketSent;
    TNotifyEvent OnDataReady;
    TNotifyEvent OnAccept;
    // A name gave no address; a handler may correct Host and set handled for one more try.
    std::function<void(TPowersock* sender, bool& handled)> OnInvalidHost;
    std::function<void(TPowersock* sender, const std::string& status)> OnStatus;
    std::function<void(TPowersock* sender, int error, const std::string& text)> OnSocketError;

    virtual SOCKET Accept();
    virtual void Connect();
    virtual void Disconnect();
    virtual std::string Transaction(const std::string& command);
    virtual void Abort();
    // Ends the operation under way with EAbortError; callable from any event
    // handler while the component waits.
    void Cancel();

    void ResolveHost();
    // length 0: up to the first NUL byte.
    void SendBuffer(const char* start, std::uint16_t length);
    // Sends the text up to its first NUL; 65,536 bytes or more are refused.
    void Write(const std::string& text);
    void Writeln(const std::string& text);
    // One line with its line end; "" when the peer has closed. A line that
    // fills the whole buffer comes back cut, without line end; so does the
    // rest of a line that the peer's close cut off.
    std::string ReadLn();
    void SendFile(const std::string& fileName);
    // Read until the peer closes, into a file or a text (maximum -1: no limit).
    void CaptureFile(const std::string& fileName);
    void CaptureString(std::string& text, std::int32_t maximum);
    bool DataAvailable();
    void CloseSocket();
    std::string ErrorMessageText(int code);
    // Raises ESockError for the last socket error unless it is the ignored one.
    void CheckSocketError(int ignored);

    bool Connected() const { return connected_; }
    bool Canceled() const { return canceled_; }
    bool TimedOut() const { return timedOut_; }
    int LastErrorNo() const { return lastErrorNo_; }
    std::int16_t ReplyNumber() const { return replyNumber_; }
    std::int32_t ContentLength() const { return contentLength_; }
    // Counted in 64 bits: no transfer is long enough to run it over.
    std::int64_t ReceivedCount() const { return receivedCount_; }
    std::int32_t SentCount() const { return sentCount_; }
    const std::string& LastReply() const { return lastReply_; }
    const std::string& Status() const { return status_; }
    const std::vector<std::string>& InfoList() const { return infoList_; }

  protected:
    void StatusMessage(int level, const std::string& text);
    void TimerOn();
    void TimerOff();
    void TimerTriggered();
    // Handles every message waiting for this thread; raises the failure of a
    // notification handled meanwhile.
    void ProcessPendingMessages();
    // Sleeps until a message arrives for this thread, then handles them all.
    void WaitForMessages();

    bool woken_ = false;
    std::int16_t replyNumber_ = 0;
    std::int32_t contentLength_ = 0;

  private:
    class SocketWindow;
    struct Lookup;
    friend class SocketWindow;

    void InitWinsock();
    SOCKET MakeSocket(bool linger);
    void Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification's handling raised the current exception.
    void NotificationFailed() noexcept;
    // A received chunk of a capture: counted, reported, the silence restarted,
    // and the message queue looked at now and then.
    void ChunkReceived(std::size_t n);
    // The timer fired: a time-out only if the silence has lasted since.
    void TimerExpired();
    // Data, the peer's close or a read notification waits for the operation:
    // the program has been busy elsewhere (a message box in a handler), so
    // the server's silence cannot be told.
    bool UnreadFromPeer();
    void ProcessMessagesNowAndThen();
    char* CaptureBlock();
    // After a receive that gave nothing: true when the data has ended.
    bool ReceiveEnded();
    void RaiseIfCanceled(const char* text);
    void SendAll(const char* start, std::size_t length, bool reportPackets);

    std::array<char, kIoBufferSize> ioBuffer_{};
    std::unique_ptr<char[]> captureBlock_;
    std::unique_ptr<SocketWindow> window_;
    TThreadTimer timer_;
    WSADATA startupData_{};
    bool started_ = false;
    SOCKET socket_ = INVALID_SOCKET;
    sockaddr_in remote_{};
    // Lookups the system may still answer into, the current one last.
    std::list<std::unique_ptr<Lookup>> lookups_;
    std::vector<std::string> infoList_;
    std::string status_;
    std::string lastReply_;
    int lastErrorNo_ = 0;
    int closeError_ = 0; // the error the peer's close came with (a reset)
    // Message handling under way in a wait, and the failure of a notification
    // handled there, for the waiting operation to raise.
    int waits_ = 0;
    std::exception_ptr notificationFailure_;
    std::int64_t receivedCount_ = 0;
    std::int32_t sentCount_ = 0;
    bool canceled_ = false;
    bool destroying_ = false;
    bool connected_ = false;
    bool eventOk_ = false;
    bool timedOut_ = false;
    // A read or close notification came after the operation's last receive.
    bool readNotified_ = false;
    // The time-out the timer was armed with, when data last came (the last
    // kilobyte of a capture), and what came of the next one.
    int armedTimeOut_ = 0;
    DWORD lastActivity_ = 0;
    std::size_t bytesSinceActivity_ = 0;
    DWORD lastMessageCheck_ = 0;
};
