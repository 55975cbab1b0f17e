#pragma once

#include <string>

#include "records/men.h"

// A record of the teacher registry.
class teacher : public virtual men {
  public:
    void vvod() override;
    void vivod() const override;

    std::string position;
    std::string stepen;
    std::string speciality;
    // Carried along by copies; no dialog enters or shows them.
    std::string spare;
    int sparenum = 0;

  protected:
    static constexpr const char* kHeader = "-----Teacher Member------";
    auto postFields() { return std::tie(position, stepen, speciality, spare, sparenum); }
    void vvodPost();
    void vivodPost() const;

  public:
    // The fields, by reference: what swapRecords exchanges.
    auto fields() { return std::tuple_cat(menFields(), postFields()); }
};
