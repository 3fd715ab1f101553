// Registration of the particle systems.
#pragma once

namespace qv {

// "stochastic_particle_system", "montecarlo_particle_system",
// "function_particle_system" and "SelectedCellParticleSystem".
void RegisterParticlesTypes();

}  // namespace qv
