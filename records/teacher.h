#pragma once

#include <string>

#include "records/men.h"

// A record of the teacher registry.
class teacher : public virtual men {
  public:
    teacher() = default;
    teacher(const teacher&) = default;
    teacher& operator=(const teacher&) = default;
    ~teacher() override = default;

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
    void vvodPost();
    void vivodPost() const;
};
