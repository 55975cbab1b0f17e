#pragma once

#include <string>

#include "records/men.h"

// A record of the party-member registry.
class partia : public virtual men {
  public:
    partia() = default;
    partia(const partia&) = default;
    partia& operator=(const partia&) = default;
    ~partia() override = default;

    void vvod() override;
    void vivod() const override;

    std::string party;
    int year = 0;
    int number = 0;
    std::string biography;

  protected:
    static constexpr const char* kHeader = "-----partia Member------";
    void vvodParty();
    void vivodParty() const;
};
