#pragma once

// The runtime's uniform random generator of single-precision values.
namespace Random {

// Reseeds the generator from the system clock.
void Randomize();
// A uniform value r with 0 <= r < 1, of single precision.
float Rnd();

}  // namespace Random
