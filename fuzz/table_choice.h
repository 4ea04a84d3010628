#pragma once

#include "catalogue/model.h"
#include "fuzz_check.h"

namespace tabulon::fuzz {

// The first choice byte of an input that is about a table: its three low bits
// pick the tab, the rest the model.
struct TableChoice {
    std::uint8_t byte;
    int tab;
    Model model;
};

inline TableChoice chooseTable(Choices& choices) {
    const std::uint8_t byte = choices.next();
    return {byte, byte % 8, static_cast<Model>((byte / 8) % kModelCount)};
}

}  // namespace tabulon::fuzz
