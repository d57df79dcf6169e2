#pragma once

#include <chrono>
#include <functional>
#include <optional>

class QUrl;

namespace velmora {

// Decides which pages a game may open in the user's web browser: http and https addresses
// only, only when the user has just clicked or pressed a key in the game, and at most one in
// each interval however many the game asks for.
class LaunchGate {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds kInterval{5000};

    explicit LaunchGate(std::chrono::milliseconds interval = kInterval,
                        Clock clock = &std::chrono::steady_clock::now);

    // Whether url may be opened now; when it may, the launch is counted.
    bool admit(const QUrl& url, bool userInitiated);

private:
    std::chrono::milliseconds m_interval;
    Clock m_clock;
    std::optional<std::chrono::steady_clock::time_point> m_lastLaunch;
};

} // namespace velmora
