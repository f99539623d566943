#include "velmar/gpsnav/state.h"

namespace velmar::gpsnav {

constinit TurnpointTable turnpoints = {};
constinit TaskTable tasks = {};
constinit NameList names = {};
constinit DistanceList distances = {};
constinit ShownTurnpoint shown = {};

constinit NavigationState nav = {.steering_index = 5};
constinit TaskState task = {};
constinit DisplayState display = {.page = 20};

} // namespace velmar::gpsnav
