// Win32 half of the platform layer
