// The scripted runs that become golden demos.
#pragma once
#include <cstdint>
#include <vector>

#include "driver.h"

struct Scenario {
  const char* name;
  uint32_t seed;       // a seed with which the script's cuts are found
  const char* scores;  // the hi-score table the run starts with
  std::vector<Step> (*steps)();
};

const Scenario* scenario_find(const char* name);
const std::vector<Scenario>& scenario_list();
