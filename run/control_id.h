#pragma once

namespace tessarin {

// The dialog controls by their template numbers; messages name the field to focus by these.
enum class ControlId : int {
    Exit = 2,
    L0 = 1000,
    B = 1001,
    H = 1002,
    M0x = 1003,
    M0y = 1004,
    N = 1005,
    Ax = 1006,
    Ay = 1007,
    ConcreteList = 1008,
    SteelList = 1009,
    Calculate = 1010,
    Explain = 1012,
    ResultBox = 1015,
    Scheme1 = 1016,
    Scheme2 = 1017,
    DiameterList = 1018,
    RatioX = 1019,
    RatioY = 1020,
};

// The template number of a control, for the dialog templates and the tests.
constexpr int idOf(ControlId control) {
    return static_cast<int>(control);
}

}  // namespace tessarin
