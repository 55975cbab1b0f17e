#include "records/proiz.h"

#include <iostream>

#include "console/Console.h"
#include "errors/Retry.h"
#include "errors/memberExp.h"
#include "records/Ask.h"

namespace {

constexpr const char* kUnionHeader = "-----UNION Member------";
constexpr const char* kCountPrompt = "\nEnter num works: ";
constexpr const char* kNoMemory = "eror in memory   ";

// An empty list with room for count works; memberExp when it cannot be made.
std::vector<std::string> makeWorks(int count) {
    if (count < 0) {
        throw memberExp(kNoMemory);
    }
    std::vector<std::string> list;
    try {
        list.reserve(static_cast<std::size_t>(count));
    } catch (const std::exception&) {  // reserve fails only for want of memory
        throw memberExp(kNoMemory);
    }
    return list;
}

}  // namespace

void proiz::vvod() {
    startEntry(kUnionHeader);
    vvodMen();
    vvodParty();
    vvodPost();
    works = ask::number(kCountPrompt);
    vvodWorks();
}

void proiz::vvodWorks() {
    retry<memberExp>(
        kOtherFault,
        [this] {
            adress = makeWorks(works);
            for (int i = 0; i < works; ++i) {
                adress.push_back(console::readWord("Enter the adress of taken spisk" +
                                                   std::to_string(i) + ":\n"));
            }
        },
        [this](const memberExp&) {
            // The same count would fail for ever: ask for a new one.
            works = ask::number(kCountPrompt);
            return false;
        });
}

void proiz::vivod() const {
    std::cout << kUnionHeader << std::endl;
    vivodMen();
    vivodParty();
    vivodPost();
    for (std::size_t i = 0; i < adress.size() && i < static_cast<std::size_t>(works); ++i) {
        std::cout << i << " -> " << adress[i] << std::endl;
    }
    std::cout << "-------------------------" << std::endl;
}
