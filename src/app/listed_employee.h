#pragma once
// One employee as the listing showed him: his fields and the net pay drawn.

#include "app/boni_row.h"

namespace vx::app {

struct ListedEmployee {
  BoniFields fields;
  double net_pay = 0;
};

}  // namespace vx::app
