#pragma once

#include <string>

// Texts the program prints on a pipe, shared by the end-to-end tests.
namespace texts {

inline const std::string kMenu =
    "MENU\n1.teacher\n2.Partia\n3.UNION\n4.proverka oshibok so strokami\nESC. Exit";
// A pass of the main menu: the menu, then the clear that follows every key.
inline const std::string kPass = kMenu + "\f";
inline const std::string kPrompt = "Vvedite stroky (dlia proverki razmernosty)\n";
inline const std::string kReport = "eror in  razmer srtoki\n";
inline const std::string kChoice = "1-vvesti novyu storky\n 2-obrezat stroky \n";
inline const std::string kSeparator = std::string(54, '-') + "\n";

inline std::string result(const std::string& word) {
    return "v rezultate polychenaia stroka  " + word + " !!!!!\n";
}

}  // namespace texts
