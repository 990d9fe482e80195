#include "engine/random.h"

#include <chrono>

RandomSource::RandomSource()
    : engine_(static_cast<unsigned>(std::chrono::high_resolution_clock::now().time_since_epoch().count()))
{
}
