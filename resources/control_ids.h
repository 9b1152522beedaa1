// The identifiers of the dialog templates, their controls and the commands of the program's
// menus: one name each, used by the templates, the program and the tests alike. A control's
// identifier is also the command it sends.
#pragma once

// Dialog templates.
inline constexpr int MainDialogTemplate = 101;
inline constexpr int PrecalcDialogTemplate = 105;
inline constexpr int AddPlayerDialogTemplate = 110;

// The commands of the dialog manager: Enter sends OkCommand (unless a push button has the
// focus), Escape and the close box send CancelCommand.
inline constexpr int OkCommand = 1;
inline constexpr int CancelCommand = 2;
inline constexpr int UnaddressedControl = -1;  // a label or frame that nothing refers to

// The main dialog.
inline constexpr int NewHandCommand = 3;          // the "New Hand" button
inline constexpr int WinShareControl = 1012;      // the win percentage
inline constexpr int TieShareControl = 1013;      // the tie percentage
inline constexpr int LossShareControl = 1014;     // the loss percentage
inline constexpr int GainControl = 1015;          // OpenGL: the gain display
inline constexpr int HandTypeControl = 1043;      // the sentence of the user's current hand
inline constexpr int FirstBarControl = 1051;      // 1051..1060, one result bar per HandType
inline constexpr int BestPossibleControl = 1061;  // the best hand the known cards still allow
inline constexpr int FirstPercentControl = 1073;  // 1073..1082, one percentage per HandType
inline constexpr int ModellingCheckBox = 1088;    // "Opponent Modelling"
inline constexpr int VariantButton = 1091;        // "Texas Hold'em Poker" / "Omaha Hold'em Poker"
inline constexpr int HandCardsControl = 1094;     // OpenGL: "Player's Hand"
inline constexpr int TableCardsControl = 1095;    // OpenGL: "Table Cards"
inline constexpr int OpponentsControl = 1096;     // OpenGL: the opponents view
inline constexpr int WinLegendControl = 1098;
inline constexpr int TieLegendControl = 1099;
inline constexpr int LossLegendControl = 1100;
inline constexpr int ActivityStripControl = 1101;

// The precalculation dialog.
inline constexpr int ProgressControl = 1086;
inline constexpr int QuickButton = 1093;
inline constexpr int NormalButton = 1094;
inline constexpr int DetailedButton = 1095;

// The add-player dialog (OkCommand is "Add Player", CancelCommand "Cancel").
inline constexpr int NameEditControl = 1097;
inline constexpr int AggressionBarControl = 1102;
inline constexpr int BluffingBarControl = 1103;

// The opponents view's popup menus.
inline constexpr int PlayingCommand = 1017;
inline constexpr int DeleteCommand = 1018;
inline constexpr int AddNewCommand = 1019;
inline constexpr int FirstAggressionCommand = 1020;  // 1020..1030 set aggression 0..10
inline constexpr int FirstBluffingCommand = 1031;    // 1031..1041 set bluffing 0..10
