// A pseudo-terminal pair for serial line tests: the test plays the instrument
// on the master side, the port under test opens the slave by its name. The
// pair keeps its own slave open, so the line stays up between the port's opens
// until hangUp().
#pragma once

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <fcntl.h>
#include <pty.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace ostest {

struct PseudoTerminal {
    int master = -1;
    int slave = -1;
    std::string name; // the slave's device path; empty when no pair could be made

    PseudoTerminal() {
        char buf[128];
        if (::openpty(&master, &slave, buf, nullptr, nullptr) == 0) name = buf;
    }
    ~PseudoTerminal() { hangUp(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Closes both sides: the port's line hangs up, as when a receiver is unplugged.
    void hangUp() {
        if (master >= 0) ::close(master);
        if (slave >= 0) ::close(slave);
        master = slave = -1;
    }

    // Writes all of text on the master side (gives up on an error).
    void send(const std::string& text) const {
        std::size_t done = 0;
        while (done < text.size()) {
            ssize_t n = ::write(master, text.data() + done, text.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EINTR && errno != EAGAIN)
                return;
        }
    }

    // What the port wrote, collected until want bytes came or timeout passed.
    std::string receive(std::size_t want, std::chrono::milliseconds timeout) const {
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        std::string got;
        auto end = std::chrono::steady_clock::now() + timeout;
        while (got.size() < want && std::chrono::steady_clock::now() < end) {
            char b[256];
            ssize_t n = ::read(master, b, sizeof b);
            if (n > 0)
                got.append(b, static_cast<std::size_t>(n));
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) & ~O_NONBLOCK);
        return got;
    }
};

} // namespace ostest
