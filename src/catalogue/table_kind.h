#pragma once

namespace tabulon {

// The grid tables, by the index of their tab.
enum class TableKind {
    Goods = 0,
    Operators = 1,
    PaymentTypes = 2,
    Departments = 3,
    HeaderText = 4
};

// The parameter sets, by the index of their tab.
enum class ParameterSet {
    CashRegisterParameters = 5,
    ReceiptParameters = 6,
    ServiceParameters = 7,
};

inline constexpr int kGridTableCount = 5;
inline constexpr int kLogoTab = 8;
inline constexpr int kReportsTab = 9;
inline constexpr int kTabCount = 10;

inline constexpr bool isGridTab(int tab) {
    return tab >= 0 && tab < kGridTableCount;
}
inline constexpr bool isParameterTab(int tab) {
    return tab >= 5 && tab <= 7;
}

inline constexpr TableKind tableKindOfTab(int tab) {
    return static_cast<TableKind>(tab);
}
inline constexpr ParameterSet parameterSetOfTab(int tab) {
    return static_cast<ParameterSet>(tab);
}

}  // namespace tabulon
