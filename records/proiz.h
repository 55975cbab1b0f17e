#pragma once

#include <string>
#include <vector>

#include "records/partia.h"
#include "records/teacher.h"

// A union member: a party member and a teacher over one person part, with a
// list of works. Every record owns its list, so copies never share one.
class proiz : public partia, public teacher {
  public:
    void vvod() override;
    void vivod() const override;

    std::vector<std::string> adress;
    int works = 0;

    // The fields, by reference: what swapRecords exchanges.
    auto fields() {
        return std::tuple_cat(menFields(), partyFields(), postFields(), std::tie(adress, works));
    }

  private:
    void vvodWorks();
};
