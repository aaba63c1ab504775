// User-visible texts of the configuration menus and the credits screen,
// English and German (ISO 8859-1), indexed by TextLanguage.
#pragma once

#include "app/texts.h"

// One line of a menu: its label, the help text shown while it is selected,
// and how its values read. `values` is either the option texts of the values
// 0, 1, ... separated by '|', or a number format with one "%d" (the value as
// the line shows it); null when the line has no value. `zero` replaces the
// number format for the value 0 (null: the format shows 0 as well).
struct ConfigLineText {
  const char* label[2];
  const char* help[2];
  const char* values[2];
  const char* zero[2];
};

extern const ConfigLineText text_MainMenuLines[13], text_FirstTimeLines[3], text_GeneralLines[22],
    text_KeysLines[22], text_ColumnsLines[16], text_DisplayLines[19], text_SortLines[8],
    text_ColoursLines[8], text_RecycleLines[9], text_ActionsLines[5];

// Titles of the menus 1 to 10 (element 0 is the main menu).
extern AppText text_MenuTitles[10];

extern AppText text_InvalidValue, text_LegendSave, text_LegendDiscard, text_LegendChange,
    text_LegendCycle, text_LegendCredits, text_LegendStop, text_ColumnDefaultsTitle,
    text_ColumnDefaultsLine1, text_ColumnDefaultsLine2, text_CreditsTitle, text_CreditsReturn;

// The acknowledgements of the credits screen: pairs of a name and what it
// gave, ended by a pair of nulls. Not translated: the names are names.
struct CreditLine {
  const char* name;
  const char* what[2];
};
extern const CreditLine creditLines[];
