// The transfers of TPowersock. Every loop that finds nothing to do sleeps
// until a message arrives instead of asking the socket again at once: the
// socket library posts a notification when data or buffer space arrives or
// the peer closes, and the time-out timer and the user's input are messages too.
#include "net/powersock.h"

#include "toolkit/exceptions.h"
#include "toolkit/wide.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <utility>

namespace {

constexpr int kWouldBlock = WSAEWOULDBLOCK;
constexpr int kNotConnected = WSAENOTCONN;

// Runs an action on every way out of a scope: switching the time-out timer
// off, handing received data to its file.
class OnExit {
  public:
    explicit OnExit(std::function<void()> action) : action_(std::move(action)) {}
    ~OnExit() { action_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

  private:
    std::function<void()> action_;
};

std::ofstream CreateFileStream(const std::string& fileName) {
    std::ofstream file(std::filesystem::path(Widen(fileName)), std::ios::binary | std::ios::trunc);
    if (!file) {
        throw EFileError("Cannot create file \"" + fileName + "\"");
    }
    return file;
}

} // namespace

void TPowersock::SendBuffer(const char* start, std::uint16_t length) {
    StatusMessage(4, "Sending Buffer");
    TimerOn();
    OnExit off([this] { TimerOff(); });
    if (!canceled_) {
        const std::size_t size = length != 0 ? length : std::strlen(start);
        if (size > 65535) {
            throw Exception("Range check error");
        }
        SendAll(start, size, false);
    }
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket send aborted");
    }
}

void TPowersock::SendAll(const char* start, std::size_t length, bool reportPackets) {
    std::size_t remaining = length;
    while (remaining > 0 && !canceled_) {
        const int n = send(socket_, start + length - remaining, static_cast<int>(remaining), 0);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            CheckSocketError(kWouldBlock);
            // The send buffer is full: the library tells when there is room.
            WaitForMessages();
            continue;
        }
        remaining -= static_cast<std::size_t>(n);
        if (reportPackets) {
            sentCount_ += n;
            if (OnPacketSent) {
                OnPacketSent(this);
            }
            ProcessPendingMessages();
        }
    }
}

void TPowersock::Write(const std::string& text) {
    StatusMessage(8, "Write");
    if (text.size() >= kIoBufferSize) {
        throw Exception("Range check error");
    }
    std::copy(text.begin(), text.end(), ioBuffer_.begin());
    ioBuffer_[text.size()] = '\0';
    SendBuffer(ioBuffer_.data(), 0);
}

void TPowersock::Writeln(const std::string& text) {
    StatusMessage(8, "Writeln");
    Write(text + "\r\n");
}

bool TPowersock::ReceiveEnded() {
    lastErrorNo_ = WSAGetLastError();
    if (lastErrorNo_ == kNotConnected) {
        // Closed on the peer's close and replaced: the end of the data, unless
        // that close was a reset.
        if (closeError_ > 10000) {
            const int error = std::exchange(closeError_, 0);
            lastErrorNo_ = error;
            const std::string text = ErrorMessageText(error);
            if (OnSocketError) {
                OnSocketError(this, error, text);
            }
            throw ESockError(text);
        }
        return true;
    }
    CheckSocketError(kWouldBlock);
    WaitForMessages();
    return false;
}

std::string TPowersock::ReadLn() {
    StatusMessage(8, "ReadLn");
    TimerOn();
    OnExit off([this] { TimerOff(); });
    std::string line;
    while (line.size() < kIoBufferSize) {
        const std::size_t room = kIoBufferSize - line.size();
        readNotified_ = false;
        const int n = recv(socket_, ioBuffer_.data(), static_cast<int>(room), MSG_PEEK);
        if (n == 0) {
            break;
        }
        if (n > 0) {
            const char* lineEnd = static_cast<const char*>(std::memchr(ioBuffer_.data(), '\n', n));
            const int take = lineEnd ? static_cast<int>(lineEnd - ioBuffer_.data()) + 1 : n;
            // Peeked bytes are there: this takes exactly them.
            const int got = recv(socket_, ioBuffer_.data(), take, 0);
            if (got > 0) {
                line.append(ioBuffer_.data(), static_cast<std::size_t>(got));
            }
            if (lineEnd && got == take) {
                break;
            }
            ProcessPendingMessages();
        } else if (ReceiveEnded()) {
            break;
        }
        if (canceled_) {
            canceled_ = false;
            throw EAbortError("Socket readln aborted");
        }
    }
    return line;
}

void TPowersock::ChunkReceived(std::size_t n) {
    receivedCount_ += static_cast<std::int64_t>(n);
    if (OnPacketRecvd) {
        OnPacketRecvd(this);
    }
    StatusMessage(8, "Timer On");
    timedOut_ = false;
    if (TimeOut < 0) {
        throw Exception("Range check error");
    }
    if (TimeOut != armedTimeOut_) {
        TimerOn();
    } else if ((bytesSinceActivity_ += n) >= kLeastBytesPerTimeOut) {
        // The timer keeps running; when it fires it measures the silence from here.
        lastActivity_ = GetTickCount();
        bytesSinceActivity_ = 0;
    }
    ProcessMessagesNowAndThen();
}

char* TPowersock::CaptureBlock() {
    if (!captureBlock_) {
        // Left uninitialised: only the pages a transfer fills become memory of the process.
        captureBlock_ = std::make_unique_for_overwrite<char[]>(kCaptureBlockSize);
    }
    return captureBlock_.get();
}

void TPowersock::CaptureFile(const std::string& fileName) {
    StatusMessage(8, "CaptureFile");
    receivedCount_ = 0;
    TimerOn();
    OnExit off([this] { TimerOff(); });
    {
        std::ofstream file = CreateFileStream(fileName);
        char* const block = CaptureBlock();
        std::size_t held = 0;
        const auto flush = [&] {
            if (held > 0 && !file.write(block, static_cast<std::streamsize>(held))) {
                throw EFileError("Cannot write to file \"" + fileName + "\"");
            }
            held = 0;
        };
        // Whatever arrived reaches the file, also when the transfer fails.
        OnExit keep([&] {
            try {
                flush();
            } catch (...) {
                // The transfer's own failure is the one to tell.
            }
        });
        while (!canceled_) {
            // Receive straight into the block; it goes to the file once it is
            // too full for a whole transfer buffer more.
            readNotified_ = false;
            const int n =
                recv(socket_, block + held, static_cast<int>(kCaptureBlockSize - held), 0);
            if (n > 0) {
                held += static_cast<std::size_t>(n);
                if (kCaptureBlockSize - held < kIoBufferSize) {
                    flush();
                }
                ChunkReceived(static_cast<std::size_t>(n));
            } else if (n == 0 || ReceiveEnded()) {
                break;
            }
        }
        flush();
    }
    RaiseIfCanceled("Socket capture aborted");
}

void TPowersock::CaptureString(std::string& text, std::int32_t maximum) {
    StatusMessage(8, "Capture String");
    text.clear();
    receivedCount_ = 0;
    TimerOn();
    OnExit off([this] { TimerOff(); });
    while (!canceled_ && (maximum == -1 || text.size() < static_cast<std::size_t>(maximum))) {
        char* const block = CaptureBlock();
        readNotified_ = false;
        const int n = recv(socket_, block, static_cast<int>(kCaptureBlockSize), 0);
        if (n > 0) {
            text.append(block, static_cast<std::size_t>(n));
            ChunkReceived(static_cast<std::size_t>(n));
        } else if (n == 0 || ReceiveEnded()) {
            break;
        }
    }
    RaiseIfCanceled("Socket capture aborted");
}

void TPowersock::SendFile(const std::string& fileName) {
    StatusMessage(8, "SendFile");
    std::ifstream file(std::filesystem::path(Widen(fileName)), std::ios::binary);
    if (!file) {
        throw EFileError("Cannot open file \"" + fileName + "\"");
    }
    while (!canceled_ && file.read(ioBuffer_.data(), kIoBufferSize).gcount() > 0) {
        SendAll(ioBuffer_.data(), static_cast<std::size_t>(file.gcount()), true);
    }
    file.close();
    RaiseIfCanceled("Socket send aborted");
}

std::string TPowersock::Transaction(const std::string& command) {
    StatusMessage(8, "Transaction");
    replyNumber_ = 0;
    Writeln(command);
    lastReply_ = ReadLn();
    if (!lastReply_.empty()) {
        StatusMessage(1, lastReply_);
        const std::string head = lastReply_.substr(0, 10);
        const std::size_t digits = std::min(head.find_first_not_of("0123456789"), head.size());
        if (digits > 0) {
            const long value = std::stol(head.substr(0, digits));
            if (value > std::numeric_limits<std::int16_t>::max()) {
                throw Exception("Range check error");
            }
            replyNumber_ = static_cast<std::int16_t>(value);
        }
    }
    return lastReply_;
}
