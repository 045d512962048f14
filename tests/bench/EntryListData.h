// The one vehicle of the entry-list benches and its entries: what the entry list bench fills
// its lists from and what the start bench opens the program on, so that both figures describe
// the same rows.
#pragma once

#include "business/AlkBiz.h"

namespace alk_bench {

// Reference id of the benches' vehicle ("Benchmark car").
const unsigned long kBenchVehicle = 1;

// Saves the vehicle and entries entries of it through db in one transaction (dates, odometers,
// amounts and captions drawn with ties, in no sorted order; the same rows in every run and
// build). False when a save or the commit fails.
bool FillBenchVehicle(CDataLayer& db, int entries);

}  // namespace alk_bench
