# The serial link and the radio protocol.
