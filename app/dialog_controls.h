// Controls of the main dialog that the estimates and the shell write or read, by id.
#pragma once

inline constexpr int WinShareControl = 1012;      // the win percentage
inline constexpr int TieShareControl = 1013;      // the tie percentage
inline constexpr int LossShareControl = 1014;     // the loss percentage
inline constexpr int HandTypeControl = 1043;      // the sentence of the user's current hand
inline constexpr int BestPossibleControl = 1061;  // the best hand the known cards still allow
inline constexpr int ModellingCheckBox = 1088;    // "Opponent Modelling"
