#pragma once
// Header only: the support library does not link the settings, the test
// binaries that include this do.
#include "settings/settingskeys.h"
#include "settings/storeforms.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <type_traits>
#include <variant>

// Gives the field of `key` a valid value other than the one it holds, so that
// a round trip shows it. A check box field steps through `checkStates` values
// (2 for a box, 3 where the store keeps a third "unchanged" state).
inline void changeToOtherValue(const SettingsKey& key, Settings& s, int checkStates)
{
    std::visit(
        [&](auto m) {
            using M = decltype(m);
            if constexpr (std::is_same_v<M, int Settings::*>) {
                int& v = s.*m;
                switch (key.form) {
                case StoreForm::Check:
                    v = (v + 1) % checkStates;
                    break;
                case StoreForm::Option:
                    v = (v + 1) % key.choices;
                    break;
                case StoreForm::Tab:
                    v = v % key.choices + 1;
                    break;
                default:
                    v += 7;
                    break;
                }
            } else if constexpr (std::is_same_v<M, bool Settings::*>) {
                s.*m = !(s.*m);
            } else if constexpr (std::is_same_v<M, QString Settings::*>) {
                s.*m += QStringLiteral("x");
            } else if constexpr (std::is_same_v<M, QDate Settings::*>) {
                s.*m = QDate(2001, 2, 3);
            } else if constexpr (std::is_same_v<M, QTime Settings::*>) {
                s.*m = QTime(4, 5, 6);
            }
        },
        key.target);
}
