// The session's one record.
#include "scene/session_state.h"

SessionStateRecord ViewerSession;
