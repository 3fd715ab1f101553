#include "particles/ParticlesTypes.h"

#include "particles/FunctionParticleSystem.h"
#include "particles/StochasticParticleSystem.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterParticlesTypes() {
  RegisterClass<TStochasticParticleSystem>("stochastic_particle_system");
  RegisterClass<TMonteCarloParticleSystem>("montecarlo_particle_system");
  RegisterClass<TFunctionParticleSystem>("function_particle_system");
  RegisterClass<TSelectedCellParticleSystem>("SelectedCellParticleSystem");
}

}  // namespace qv
