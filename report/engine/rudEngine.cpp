// The preparation engine: bands, expressions, variables, aggregates, prepared pages.
