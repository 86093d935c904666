target_sources(core PRIVATE
    protocol/commands.h
    protocol/linkstate.h
    protocol/framebuilder.h protocol/framebuilder.cpp
    protocol/sendqueue.h protocol/sendqueue.cpp
    protocol/frameassembler.h protocol/frameassembler.cpp
    protocol/receiver.h protocol/receiver.cpp
    protocol/replies.h protocol/replies.cpp
    protocol/meter.h protocol/meter.cpp
    protocol/logging.h protocol/logging.cpp
)
