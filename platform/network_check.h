#pragma once
// Whether the computer is connected to a network (asked before downloads
// and clock setting when the user wants it checked).
namespace platform {

class NetworkCheck {
public:
    virtual ~NetworkCheck() = default;
    virtual bool isConnected() const = 0;
};

class QtNetworkCheck : public NetworkCheck {
public:
    // Online when the system's network information says so; without such
    // information, when an interface other than loopback is up with an address.
    bool isConnected() const override;
};

} // namespace platform
