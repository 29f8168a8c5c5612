#pragma once

namespace kx {

class TClassRegistry;

// Registers the setup components with the description reader.
void RegisterSetupClasses(TClassRegistry& registry);

}  // namespace kx
