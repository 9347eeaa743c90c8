// Placeholder for a library folder whose sources have not arrived yet.
