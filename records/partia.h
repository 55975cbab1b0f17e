#pragma once

#include <string>

#include "records/men.h"

// A record of the party-member registry.
class partia : public virtual men {
  public:
    void vvod() override;
    void vivod() const override;

    std::string party;
    int year = 0;
    int number = 0;
    std::string biography;

  protected:
    static constexpr const char* kHeader = "-----partia Member------";
    auto partyFields() { return std::tie(party, year, number, biography); }
    void vvodParty();
    void vivodParty() const;

  public:
    // The fields, by reference: what swapRecords exchanges.
    auto fields() { return std::tuple_cat(menFields(), partyFields()); }
};
