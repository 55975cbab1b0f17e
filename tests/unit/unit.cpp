#include <gtest/gtest.h>

#include "records/proiz.h"
#include "registry/otmena.h"

namespace {

TEST(Undo, HolderFollowsItsSequences) {
    teacher a, b;
    a.name = "A", b.name = "B";
    // The steps from construction ('u': an undo), then the name held, and after one more undo.
    for (const std::string row :
         {"=", "u=", "A=A", "Au=", "AB=BA", "ABu=AA", "ABuu=AA", "ABuB=BA"}) {
        otmena<teacher> holder;
        for (const char step : row.substr(0, row.find('='))) {
            step == 'u' ? holder.otkat() : holder.zapomnit(step == 'A' ? a : b);
        }
        const std::string now = holder.poluchit().name;
        holder.otkat();
        EXPECT_EQ(now + holder.poluchit().name, row.substr(row.find('=') + 1)) << row;
    }
}

TEST(Records, UnionMemberCopiesKeepTheirOwnWorks) {
    proiz original, assigned;
    original.adress = {"alpha"};
    const proiz copy(original);
    assigned = original;
    original.adress[0] = "gamma";
    EXPECT_EQ(copy.adress[0] + assigned.adress[0], "alphaalpha");
}

}  // namespace
