// The Qt runtime.
