#pragma once
// How the link's last frame exchange went. A caller that needed more than one try knows that a
// late answer to an earlier try may still be on its way.
namespace kes {

struct ExchangeReport {
    int attempts = 0;  // frames the exchange tried to write; 0 when it was refused outright

    bool retried() const { return attempts > 1; }
};

} // namespace kes
